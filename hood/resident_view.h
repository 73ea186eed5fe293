#pragma once
// The view of the resident selected in List1, and the list click handlers.

#include "core/module1.h"

#include <string_view>

namespace adultify {

void Display_user_Details(Module1& m);
void List1_Click(Module1& m);
void List2_Click(Module1& m);
// Appends a progress line to List2 and shows it at once.
void AddLogLine(Module1& m, std::string_view text);

// Whether the resident is a child, the one kind that can grow up.
[[nodiscard]] bool IsChild(const PersonRecord& r);
// "Child", "Adult" or "Unknown", from the record's age code.
[[nodiscard]] std::string_view AgeText(const PersonRecord& r);

// The first selected line of List1, or -1.
[[nodiscard]] int SelectedResident(Module1& m);

} // namespace adultify
