#pragma once
// Changing one of a resident's six skills through the "Status Change" dialog (Form3).

#include "core/module1.h"
#include "hood/resident_layout.h"

#include <string>
#include <string_view>

namespace adultify {

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
