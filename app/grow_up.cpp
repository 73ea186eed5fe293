#include "app/grow_up.h"

#include "ageing/adultify.h"
#include "app/form1_events.h"
#include "game/game_text.h"
#include "game/neighbourhood_name.h"
#include "hood/resident_view.h"

#include <exception>

namespace adultify {

namespace {

// The last message before the end, a question answered otherwise than Yes included.
std::string ReasonOf(const std::vector<ShownMessage>& shown) {
    for (auto it = shown.rbegin(); it != shown.rend(); ++it)
        if (it->title != kGrownUpTitle) return it->text;
    return "stopped before its end";
}

} // namespace

GrowUpOutcome GrowUpLine(Module1& m, int k, bool holdNotices) {
    if (k < 0 || k >= m.ui.ListCount("List1")) return {false, "no such resident"};
    m.ui.ListSelect("List1", k);
    List1_Click(m);
    if (!m.ui.IsEnabled("Command1")) return {false, std::string(kNotAChild)};
    MessageWatch watch(m.ui, holdNotices);
    try {
        Adultify_Command1_Click(m);
    } catch (const std::exception& fault) {
        // As the button's own click: the fault is told, and the next child still has its turn.
        ShowUnexpectedFault(m, fault.what());
    }
    for (const ShownMessage& s : watch.Shown())
        if (s.title == kGrownUpTitle) return {true, {}};
    return {false, ReasonOf(watch.Shown())};
}

std::vector<ChildLine> ChildrenShown(Module1& m, const std::optional<std::string>& family) {
    std::vector<ChildLine> lines;
    const int hood = ChosenHood(m);
    for (int k = 0; k < m.ui.ListCount("List1"); ++k) {
        const PersonRecord& r = m.hood.People[static_cast<std::size_t>(k)];
        if (AgeText(r) != "Child") continue;
        ChildLine line{hood, k, DecodeName(m.game, r.LastName), m.ui.ListItem("List1", k)};
        if (!family || line.family == *family) lines.push_back(std::move(line));
    }
    return lines;
}

std::vector<ChildLine> EveryChild(Module1& m) {
    std::vector<ChildLine> all;
    for (int entry = 0; entry < m.ui.ListCount("Combo1"); ++entry) {
        m.ui.ListSelect("Combo1", entry);
        Combo1_Click(m);
        for (ChildLine& line : ChildrenShown(m, std::nullopt))
            all.push_back(std::move(line));
    }
    return all;
}

bool PickHood(Module1& m, int hood) {
    const std::string entry = HoodEntryText(hood);
    for (int i = 0; i < m.ui.ListCount("Combo1"); ++i)
        if (m.ui.ListItem("Combo1", i) == entry) {
            m.ui.ListSelect("Combo1", i);
            Combo1_Click(m);
            return m.hood.hoodEntryRead == entry;
        }
    return false;
}

} // namespace adultify
