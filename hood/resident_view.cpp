#include "hood/resident_view.h"

#include "core/status_line.h"
#include "game/game_text.h"
#include "hood/character_pictures.h"
#include "hood/resident_layout.h"

namespace adultify {

namespace {

// The unsigned number stored; bytes past the end of the data read as blanks.
std::string StoredValue(const Bytes& hood, Position p) {
    const Bytes b = BytesPaddedWithBlanks(hood, p, 2);
    return std::to_string(b[0] + 256u * b[1]);
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

int SelectedResident(Module1& m) {
    const int count = m.ui.ListCount("List1");
    for (int i = 0; i < count; ++i)
        if (m.ui.ListSelected("List1", i)) return i;
    return -1;
}

void Display_user_Details(Module1& m) {
    SetStatus(m, "Display_user_Details()");
    m.ui.SetEnabled("menu_Save", m.UnsavedData == kTrue);
    m.ui.ListClear("List2");
    const int n = m.ui.ListCount("List1") - 1;
    for (int k = 0; k <= n; ++k) {
        SetStatus(m, std::to_string(k) + "/" + std::to_string(n));
        if (!m.ui.ListSelected("List1", k)) continue;
        const PersonRecord& r = m.People[static_cast<std::size_t>(k)];
        Bytes full = r.FirstName;
        full.push_back(' ');
        full.insert(full.end(), r.LastName.begin(), r.LastName.end());
        m.ui.SetCaption("Frame2", "Personal Infomation for " + DecodeName(m, full));
        SetStatus(m, "Get personal info");
        m.ui.ListAdd("List2", "Filename:" + DecodeName(m, r.UserFile));
        m.ui.ListAdd("List2", std::string("Gender: ") + (r.Gender[0] == 1 ? "Female" : "Male"));
        const std::uint8_t career = r.Career[0];
        if (career <= 10) {
            m.ui.ListAdd("List2", "Career: " + m.CareerNames[career]);
            m.ui.ListAdd("List2", "Career Level: " + std::to_string(r.CareerLevel[0]));
        }
        // Only a child can grow up; an age the program does not know leaves the button as it was.
        if (IsChild(r)) m.ui.SetEnabled("Command1", true);
        if (r.Age[0] == resident::kAgeAdult) m.ui.SetEnabled("Command1", false);
        m.ui.ListAdd("List2", "Age: " + std::string(AgeText(r)));
        m.ui.ListAdd("List2", "      ");

        const Position p = FindBytes(m.HoodData, r.UserFile, 1);
        if (p > 0) {
            for (const TraitRow& row : kTraitRows)
                m.ui.SetCaption(row.valueLabel, StoredValue(m.HoodData, p + row.offset));
            for (const SkillRow& row : kSkillRows)
                m.ui.SetCaption(row.valueLabel, StoredValue(m.HoodData, p + row.offset));
        }
        // A child's skills cannot be changed.
        const bool child = m.ui.IsEnabled("Command1");
        for (const SkillRow& row : kSkillRows)
            m.ui.SetEnabled(row.valueLabel, !child);
        Read_UserIff(m, r.UserFile);
    }
    SetStatus(m, "Idle");
}

void List1_Click(Module1& m) {
    Display_user_Details(m);
    m.ui.SetEnabled("menu_fix_thumbnails", true);
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
