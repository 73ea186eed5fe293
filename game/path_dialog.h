#pragma once
// Form2, "The Sims Path": the game folder chosen by hand. Accepted only with Sims.exe in it.

#include "core/module1.h"

#include <string>

namespace adultify {

// Loads the dialog at the working folder and shows it modally.
void ShowPathDialog(Module1& m);

// Makes `folder` the game folder when it holds Sims.exe; otherwise says so and answers false.
[[nodiscard]] bool AcceptGameFolder(Module1& m, const std::string& folder);

void Form2_Command1_Click(Module1& m); // "&Ok"
void Form2_Command2_Click(Module1& m); // "&Cancel"
// Dir1 moved to another folder: File1 follows it.
void Form2_Dir1_Change(Module1& m);
// A drive chosen in Drive1: the folder list moves to its root.
void Form2_Drive1_Change(Module1& m);

} // namespace adultify
