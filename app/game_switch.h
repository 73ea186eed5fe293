#pragma once
// Moving the run to another game: unsaved data is dealt with first, then everything shown is
// read again from the new game, so that no list describes one game while files are written to
// another.

#include "app/run_state.h"
#include "core/module1.h"

#include <cstddef>

namespace adultify {

// Combo1 rebuilt from the game folder and its first neighbourhood read; without one, nothing
// of the game before is left to show or to save.
void ReadGameAgain(Module1& m);

// A click on the games menu's entry for game `index` (0 first). With unsaved edits it asks
// first; Cancel, or a failed save, leaves everything as it was.
void SwitchToFoundGame(const RunState& run, std::size_t index);

// The path dialog's "&Ok": the folder chosen in Dir1 becomes the game folder when it is one. At
// start-up the dialog closes and start-up reads the game; later the game is read at once,
// after the question about unsaved edits (Cancel keeps the dialog open and the game as it was).
void Form2_Command1_Click(const RunState& run);

} // namespace adultify
