#pragma once
// Start-up (the load of Form1) and the exit, about and small window behaviours.

#include "app/module1.h"
#include "game/registry.h"

namespace adultify {

// The whole start-up sequence; Form1 becomes visible after it returns.
void Form1_Load(Module1& m, Registry& registry);

// Finds the game folder; without a registry value says so and offers the path dialog.
void LocateGame(Module1& m, Registry& registry);

void FillCareerNames(Module1& m);

// Asks to save unsaved data, then ends the program (throws ProgramEnd).
[[noreturn]] void ExitSequence(Module1& m);

void AboutSequence(Module1& m);
void RandomIconChange(Module1& m);

} // namespace adultify
