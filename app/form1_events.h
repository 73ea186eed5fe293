#pragma once
// Every event of every window reaches the program here. A command never runs inside
// another: while one is running (and yielding), the main window's events are held back;
// the events of the window it opened (a dialog, a message) go through.

#include "app/module1.h"

#include <string_view>

namespace adultify {

void Combo1_Click(Module1& m);

// Runs the handler of `control` for `event`; false when the event was held back or has no
// handler. A disabled control takes no events.
bool DispatchEvent(Module1& m, std::string_view control, UiEvent event);

} // namespace adultify
