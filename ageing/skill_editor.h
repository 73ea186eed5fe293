#pragma once
// Changing one of a resident's six skills through the "Status Change" dialog (Form3).

#include "app/module1.h"

#include <string>
#include <string_view>

namespace adultify {

struct SkillRow {
    std::string_view captionLabel; // "Label12"
    std::string_view valueLabel;   // "Label18"
    std::string_view name;         // "Cooking"
    int offset;                    // of the low byte from the user-file text
};

inline constexpr SkillRow kSkillRows[] = {
    {"Label12", "Label18", "Cooking", 38},  {"Label13", "Label19", "Mechanical", 42},
    {"Label14", "Label20", "Charisma", 40}, {"Label15", "Label21", "Body", 52},
    {"Label16", "Label22", "Logic", 54},    {"Label17", "Label23", "Creativity", 48},
};

// The row of a caption or value label, or of a skill name; nullptr when there is none.
[[nodiscard]] const SkillRow* SkillRowOf(std::string_view labelOrName);

// A click on a skill's value label (or its caption label, which runs the same).
void SkillLabel_Click(Module1& m, const SkillRow& row);

[[nodiscard]] double EditSkill(Module1& m, int minimum, int maximum, long long current,
                               std::string_view skillName);

// Form3's handlers.
void Form3_Load(Module1& m);
void HScroll1_Change(Module1& m);
void Form3_Command1_Click(Module1& m); // "&Accept Change"
void Form3_Command2_Click(Module1& m); // "&Cancel Change"

// "␣5 / 37%" for 537.
[[nodiscard]] std::string PointsText(long long value);

} // namespace adultify
