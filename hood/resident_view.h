#pragma once
// The view of the resident selected in List1, and the list click handlers.

#include "core/module1.h"

#include <string_view>

namespace adultify {

// Shows the resident selected in List1; with none selected, the view is cleared.
void Display_user_Details(Module1& m);
// The view with no resident: no caption, values, lines or pictures; Adultify, the skill values
// and the thumbnail fix disabled.
void ClearResidentView(Module1& m);
// Selects List1's line `line` and shows its resident below the lines List2 holds (the log of
// the command that just changed it); the keyboard's focus goes to List1.
void ShowResidentBelowLog(Module1& m, int line);
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
