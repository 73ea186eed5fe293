#pragma once
// Form2, "The Sims Path": the game folder chosen by hand. A game folder is where the
// neighbourhoods are: a folder holding Sims.exe, or one neighbourhood folder or more (the
// re-release keeps its neighbourhoods apart from its program).

#include "core/module1.h"
#include "install/wine_prefix.h"

#include <string>

namespace adultify {

// Where the dialog opens: the game in use, else the home folder, else the working folder.
[[nodiscard]] std::string StartFolder(Module1& m, const EnvironmentLookup& env);
// Loads the dialog at StartFolder, its drive chosen, and shows it modally.
void ShowPathDialog(Module1& m);

// The folder "&Ok" takes: the one highlighted in Dir1, as a folder chooser has it (a click
// highlights a folder; opening one highlights it too), else the one open.
[[nodiscard]] std::string ChosenFolder(Module1& m);

// Whether `folder` can be the game folder; otherwise says so and answers false.
[[nodiscard]] bool CheckGameFolder(Module1& m, const std::string& folder);
// Makes `folder` the game folder, letting the one before go.
void SetGameFolder(Module1& m, const std::string& folder);
// Both, as "&Ok" does: false, with the message, for a folder that is not a game's.
[[nodiscard]] bool AcceptGameFolder(Module1& m, const std::string& folder);

void Form2_Command2_Click(Module1& m); // "&Cancel"
// "&Browse…": the platform's folder chooser; the folder chosen there opens in Dir1.
void Form2_Command3_Click(Module1& m);
// Dir1 moved to another folder: File1 follows it.
void Form2_Dir1_Change(Module1& m);
// A drive chosen in Drive1: the folder list moves to its root.
void Form2_Drive1_Change(Module1& m);

} // namespace adultify
