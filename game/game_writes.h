#pragma once
// Every write into the game's folder goes through here: one writer per game, the files
// replaced together, and a save an earlier run left half-done finished before anything is read.

#include "core/module1.h"

#include <string>
#include <vector>

namespace adultify {

// Holds the game folder for this run when no other run does; silent, for reads.
void TryHoldGame(Module1& m);
// Holds the game folder for a write; when another run holds it, says so and answers false.
[[nodiscard]] bool HoldGameForWriting(Module1& m);
// Lets the game folder go (another game folder was chosen).
void ReleaseGame(Module1& m);

// Replaces the files together, or reports why nothing was changed (`what` says what was not
// saved) and answers false.
[[nodiscard]] bool WriteGameFiles(Module1& m, const std::vector<Replacement>& changes,
                                  const std::string& what);

// At start-up and when the game folder changes: finishes a save an earlier run was stopped in,
// and tells the user what was done.
void RecoverInterruptedSave(Module1& m);

} // namespace adultify
