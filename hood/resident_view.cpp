#include "hood/resident_view.h"

#include "core/status_line.h"
#include "game/game_text.h"
#include "hood/character_pictures.h"
#include "hood/resident_layout.h"

namespace adultify {

namespace {

// The unsigned number stored; bytes past the end of the data read as blanks.
std::string StoredValue(const Bytes& hood, Position p) {
    return std::to_string(ReadU16LE(BytesPaddedWithBlanks(hood, p, 2), 1));
}

} // namespace

bool IsChild(const PersonRecord& r) {
    return r.Age[0] == resident::kAgeChild;
}

std::string_view AgeText(const PersonRecord& r) {
    if (IsChild(r)) return "Child";
    if (r.Age[0] == resident::kAgeAdult) return "Adult";
    return "Unknown";
}

namespace {

// Frame2, List2's lines, the values, the commands the resident allows and its pictures.
void ShowResident(Module1& m, int k) {
    const PersonRecord& r = m.hood.People[static_cast<std::size_t>(k)];
    Bytes full = r.FirstName;
    full.push_back(' ');
    full.insert(full.end(), r.LastName.begin(), r.LastName.end());
    m.ui.SetCaption("Frame2", "Personal Infomation for " + DecodeName(m.game, full));
    SetStatus(m, "Get personal info");
    m.ui.ListAdd("List2", "Filename:" + DecodeName(m.game, r.UserFile));
    m.ui.ListAdd("List2", std::string("Gender: ") + (r.Gender[0] == 1 ? "Female" : "Male"));
    const std::uint8_t career = r.Career[0];
    if (career <= 10) {
        m.ui.ListAdd("List2", "Career: " + m.game.CareerNames[career]);
        m.ui.ListAdd("List2", "Career Level: " + std::to_string(r.CareerLevel[0]));
    }
    // Only a child can grow up, and only while this run may save; an age the program does not
    // know leaves the button as it was.
    if (IsChild(r)) m.ui.SetEnabled("Command1", !m.game.lookOnly);
    if (r.Age[0] == resident::kAgeAdult) m.ui.SetEnabled("Command1", false);
    m.ui.ListAdd("List2", "Age: " + std::string(AgeText(r)));
    m.ui.ListAdd("List2", "      ");

    const Position p = FindBytes(m.hood.HoodData, r.UserFile, 1);
    if (p > 0) {
        for (const TraitRow& row : kTraitRows)
            m.ui.SetCaption(row.valueLabel, StoredValue(m.hood.HoodData, p + row.offset));
        for (const SkillRow& row : kSkillRows)
            m.ui.SetCaption(row.valueLabel, StoredValue(m.hood.HoodData, p + row.offset));
    }
    // A child's skills cannot be changed.
    const bool child = m.ui.IsEnabled("Command1");
    for (const SkillRow& row : kSkillRows)
        m.ui.SetEnabled(row.valueLabel, !child);
    Read_UserIff(m, r.UserFile);
}

} // namespace

void ClearResidentView(Module1& m) {
    m.ui.SetCaption("Frame2", ControlId("Frame2").Design().caption);
    for (ControlId label : kValueLabels)
        m.ui.SetCaption(label, "");
    for (const SkillRow& row : kSkillRows)
        m.ui.SetEnabled(row.valueLabel, false);
    m.ui.ListClear("List2");
    m.ui.RemovePicture("Picture1");
    m.ui.RemovePicture("Picture2");
    m.ui.SetEnabled("Command1", false);
    m.ui.SetEnabled("menu_fix_thumbnails", false);
}

void ShowResidentBelowLog(Module1& m, int line) {
    m.ui.ListSelect("List1", line);
    m.ui.SetEnabled("menu_Save", m.editing.UnsavedData == kTrue && !m.game.lookOnly);
    ShowResident(m, line);
    m.ui.SetEnabled("menu_fix_thumbnails", true);
    m.ui.FocusControl("List1");
    SetStatus(m, "Idle");
}

int SelectedResident(Module1& m) {
    return FirstSelected(m.ui, "List1");
}

void Display_user_Details(Module1& m) {
    SetStatus(m, "Display_user_Details()");
    m.ui.SetEnabled("menu_Save", m.editing.UnsavedData == kTrue && !m.game.lookOnly);
    m.ui.ListClear("List2");
    const int n = m.ui.ListCount("List1") - 1;
    bool shown = false;
    for (int k = 0; k <= n; ++k) {
        SetStatus(m, std::to_string(k) + "/" + std::to_string(n));
        if (!m.ui.ListSelected("List1", k)) continue;
        ShowResident(m, k);
        shown = true;
    }
    // Nothing of another resident, or of another neighbourhood, stays on view.
    if (!shown) ClearResidentView(m);
    SetStatus(m, "Idle");
}

void List1_Click(Module1& m) {
    Display_user_Details(m);
    m.ui.SetEnabled("menu_fix_thumbnails", SelectedResident(m) >= 0);
}

void List2_Click(Module1& m) {
    const int count = m.ui.ListCount("List2");
    for (int k = 0; k < count; ++k)
        if (m.ui.ListSelected("List2", k)) SetStatus(m, m.ui.ListItem("List2", k));
}

void AddLogLine(Module1& m, std::string_view text) {
    m.ui.ListAdd("List2", text);
    m.ui.DoEvents();
}

} // namespace adultify
