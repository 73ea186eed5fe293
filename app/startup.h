#pragma once
// Start-up (the load of Form1) and the exit, about and small window behaviours. Both front
// ends start through the same steps; the editor adds the splash and its waits.

#include "app/run_state.h"
#include "core/module1.h"

#include <string>
#include <string_view>

namespace adultify {

// The whole start-up sequence; Form1 becomes visible after it returns.
void Form1_Load(const RunState& run);

// The first game the install search found (from the run's found games); without one says so and
// answers false.
[[nodiscard]] bool FindGameFolder(const RunState& run);
// Finds the game folder; without one says so and offers the path dialog.
void LocateGame(const RunState& run);

void FillCareerNames(Module1& m);
// Chooses Combo1's entry `index` and reads that neighbourhood, as a click on it does.
void SelectNeighbourhood(Module1& m, int index);
// Reads Combo1's first neighbourhood; a game folder without one is said so, with where to
// choose another, rather than left as an empty window.
void ReadFirstNeighbourhood(Module1& m);
[[nodiscard]] std::string NoNeighbourhoodText(std::string_view folder);

// With unsaved data, asks whether to save it: true when the program may let it go (saved, or
// the user said No), false when the user cancelled or the save failed.
[[nodiscard]] bool SettleUnsavedData(Module1& m);

// Asks to save unsaved data, then ends the program (throws ProgramEnd); returns, with the
// data kept, when the user cancels or the save fails.
void ExitSequence(Module1& m);

void AboutSequence(Module1& m);
void RandomIconChange(Module1& m);

} // namespace adultify
