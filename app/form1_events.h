#pragma once
// Every event of every window reaches the program here. A command never runs inside
// another: while one is running (and yielding), the main window's events are held back;
// the events of the window it opened (a dialog, a message) go through.

#include "app/run_state.h"
#include "core/module1.h"

#include <string_view>

namespace adultify {

// A pick in Combo1: reads the neighbourhood picked, unless it is the one shown. With unsaved
// edits it asks first; Cancel, or a failed save, puts Combo1 back.
void Combo1_Click(Module1& m);
// Reads the neighbourhood chosen in Combo1 into the resident list.
void ReadChosenNeighbourhood(Module1& m);

// Runs the handler of `control` for `event`; false when the event was held back or has no
// handler. A disabled control takes no events, and a control takes only the events its
// layout says it reports. A fault in a handler is shown to the user, and the program, with
// its unsaved data, goes on.
bool DispatchEvent(const RunState& run, ControlId control, UiEvent event);
// The same for a window layer's event loop: the end of the program counts as handled, the
// windows being closed and the loop told to end.
bool DispatchWindowEvent(const RunState& run, ControlId control, UiEvent event);

// The message for a fault the program did not foresee.
void ShowUnexpectedFault(Module1& m, std::string_view what);

} // namespace adultify
