#include "app/children_window.h"

#include "app/form1_events.h"
#include "app/grow_up.h"
#include "app/startup.h"
#include "game/neighbourhood_name.h"
#include "hood/resident_view.h"

#include <algorithm>
#include <string>

namespace adultify {

namespace {

constexpr std::string_view kTitle = "Children";
constexpr std::string_view kMarked = "[x] ", kUnmarked = "[  ] ";

std::string LineOf(const ChildLine& c) {
    return std::string(c.marked ? kMarked : kUnmarked) + HoodEntryText(c.hood) + "  \xC2\xB7  " +
           c.family + "  \xC2\xB7  " + c.name;
}

// The line selected, or -1.
int SelectedLine(Module1& m) {
    const int line = FirstSelected(m.ui, "frmChildren.List1");
    return line < static_cast<int>(m.editing.listedChildren.size()) ? line : -1;
}

void SetButtons(Module1& m) {
    const bool idle = !m.editing.growingUp;
    const bool chosen = SelectedLine(m) >= 0;
    const bool marked =
        std::any_of(m.editing.listedChildren.begin(), m.editing.listedChildren.end(),
                    [](const ChildLine& c) { return c.marked; });
    m.ui.SetEnabled("frmChildren.cmdMark", idle && chosen);
    m.ui.SetEnabled("frmChildren.cmdOpen", idle && chosen);
    m.ui.SetEnabled("frmChildren.cmdGrowUp", idle && (chosen || marked));
    m.ui.SetEnabled("frmChildren.cmdCancel", m.editing.growingUp);
    m.ui.SetEnabled("frmChildren.cmdClose", idle);
}

void FillList(Module1& m, int select) {
    m.ui.ListClear("frmChildren.List1");
    for (const ChildLine& c : m.editing.listedChildren)
        m.ui.ListAdd("frmChildren.List1", LineOf(c));
    m.ui.SetEnabled("frmChildren.List1", !m.editing.listedChildren.empty());
    if (m.editing.listedChildren.empty())
        m.ui.ListAdd("frmChildren.List1", "No neighbourhood of this game has a child.");
    else if (select >= 0 && select < static_cast<int>(m.editing.listedChildren.size()))
        m.ui.ListSelect("frmChildren.List1", select);
    SetButtons(m);
}

void ShowProgress(Module1& m, std::size_t done, std::size_t all) {
    const ControlId bar = "frmChildren.picProgress";
    m.ui.PictureClear(bar);
    if (all == 0 || done == 0) return;
    const float width = m.ui.ScaleWidth(bar) * static_cast<float>(done) / static_cast<float>(all);
    m.ui.FillRect(bar, 0, 0, width, m.ui.ScaleHeight(bar), Rgb{0, 0, 128});
}

// What the main window showed, to show again once the children are read.
struct Form1Pick {
    std::string hoodEntry;
    int resident = -1;
};

Form1Pick PickNow(Module1& m) {
    return {m.hood.hoodEntryRead, SelectedResident(m)};
}

void PickAgain(Module1& m, const Form1Pick& pick) {
    if (pick.hoodEntry.empty()) return;
    if (!PickHood(m, HoodNumber(pick.hoodEntry))) return;
    if (pick.resident < 0 || pick.resident >= m.ui.ListCount("List1")) return;
    m.ui.ListSelect("List1", pick.resident);
    List1_Click(m);
}

// Every child of the game, the main window left as it was.
void ReadChildren(Module1& m) {
    const Form1Pick pick = PickNow(m);
    std::vector<ChildLine> all = EveryChild(m);
    PickAgain(m, pick);
    m.editing.listedChildren = std::move(all);
}

struct Grown {
    std::vector<std::string> grown, refused, notStarted;
};

std::string Joined(const std::vector<std::string>& names, std::string_view separator) {
    std::string out;
    for (const std::string& n : names)
        out += (out.empty() ? "" : std::string(separator)) + n;
    return out;
}

void ShowSummary(Module1& m, const Grown& g) {
    std::string text;
    if (!g.grown.empty()) text += "Grown up: " + Joined(g.grown, ", ") + ".";
    if (!g.refused.empty())
        text += std::string(text.empty() ? "" : "\n") + "Refused:\n" + Joined(g.refused, "\n");
    if (!g.notStarted.empty())
        text += std::string(text.empty() ? "" : "\n") +
                "Cancelled before: " + Joined(g.notStarted, ", ") + ".";
    const MsgIcon icon = g.refused.empty() ? MsgIcon::Information : MsgIcon::Exclamation;
    (void)m.ui.ShowMessage(text, MsgButtons::Ok, icon, kTitle);
}

std::vector<ChildLine> Chosen(Module1& m) {
    std::vector<ChildLine> lines;
    for (const ChildLine& c : m.editing.listedChildren)
        if (c.marked) lines.push_back(c);
    const int selected = SelectedLine(m);
    if (lines.empty() && selected >= 0)
        lines.push_back(m.editing.listedChildren[static_cast<std::size_t>(selected)]);
    return lines;
}

// Each in turn, as the main window's button grows it up; the Cancel is looked at after each.
Grown GrowUpEach(Module1& m, const std::vector<ChildLine>& lines) {
    Grown g;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ChildLine& c = lines[i];
        const std::string who = c.name + " (" + HoodEntryText(c.hood) + ")";
        if (m.editing.growUpCancelled) {
            g.notStarted.push_back(who);
            continue;
        }
        GrowUpOutcome r{false, "the neighbourhood could not be read"};
        if (PickHood(m, c.hood)) r = GrowUpLine(m, c.k, true);
        if (r.grown)
            g.grown.push_back(who);
        else
            g.refused.push_back(who + ": " + r.reason);
        ShowProgress(m, i + 1, lines.size());
        m.ui.DoEvents();
    }
    return g;
}

} // namespace

void ShowChildrenWindow(Module1& m) {
    // Reading the other neighbourhoods lets go of the one shown, as a pick in Combo1 does.
    if (m.editing.UnsavedData == kTrue && !SettleUnsavedData(m)) return;
    ReadChildren(m);
    m.ui.LoadForm("frmChildren");
    FillList(m, -1);
    m.ui.ShowModal("frmChildren");
    m.editing.listedChildren.clear();
}

void frmChildren_List1_Click(Module1& m) {
    SetButtons(m);
}

void frmChildren_Sort_Click(Module1& m, ControlId caption) {
    const int selected = SelectedLine(m);
    const ChildLine* kept =
        selected >= 0 ? &m.editing.listedChildren[static_cast<std::size_t>(selected)] : nullptr;
    const ChildLine keep = kept ? *kept : ChildLine{};
    auto key = [caption](const ChildLine& c) {
        if (caption == "frmChildren.lblFamily") return std::tie(c.family, c.hood, c.k);
        if (caption == "frmChildren.lblName") return std::tie(c.name, c.hood, c.k);
        static const std::string none;
        return std::tie(none, c.hood, c.k);
    };
    std::stable_sort(m.editing.listedChildren.begin(), m.editing.listedChildren.end(),
                     [&](const ChildLine& a, const ChildLine& b) { return key(a) < key(b); });
    int again = -1;
    for (std::size_t i = 0; kept && i < m.editing.listedChildren.size(); ++i)
        if (m.editing.listedChildren[i].hood == keep.hood &&
            m.editing.listedChildren[i].k == keep.k)
            again = static_cast<int>(i);
    FillList(m, again);
}

void frmChildren_cmdMark_Click(Module1& m) {
    const int line = SelectedLine(m);
    if (line < 0) return;
    ChildLine& c = m.editing.listedChildren[static_cast<std::size_t>(line)];
    c.marked = !c.marked;
    FillList(m, line);
}

void frmChildren_cmdOpen_Click(Module1& m) {
    const int line = SelectedLine(m);
    if (line < 0) return;
    const ChildLine c = m.editing.listedChildren[static_cast<std::size_t>(line)];
    m.ui.UnloadForm("frmChildren");
    if (!PickHood(m, c.hood) || c.k >= m.ui.ListCount("List1")) return;
    m.ui.ListSelect("List1", c.k);
    List1_Click(m);
}

void frmChildren_cmdGrowUp_Click(Module1& m) {
    const std::vector<ChildLine> lines = Chosen(m);
    if (lines.empty() || m.editing.growingUp) return;
    if (m.editing.UnsavedData == kTrue && !SettleUnsavedData(m)) return;
    m.editing.growingUp = true;
    m.editing.growUpCancelled = false;
    SetButtons(m);
    ShowProgress(m, 0, lines.size());
    Grown g;
    try {
        g = GrowUpEach(m, lines);
    } catch (...) {
        m.editing.growingUp = false;
        throw;
    }
    m.editing.growingUp = false;
    ShowSummary(m, g);
    ReadChildren(m);
    FillList(m, -1);
    ShowProgress(m, 0, 0);
}

void frmChildren_cmdCancel_Click(Module1& m) {
    if (m.editing.growingUp) m.editing.growUpCancelled = true;
}

void frmChildren_cmdClose_Click(Module1& m) {
    // While children grow up, closing the window asks the run to stop after the one in hand.
    if (m.editing.growingUp) return frmChildren_cmdCancel_Click(m);
    m.ui.UnloadForm("frmChildren");
}

} // namespace adultify
