#pragma once
// Every write into the game's folder goes through here: one writer per game, a question when
// the game is running or a file changed since it was read, a snapshot of what is replaced, the
// files replaced together, and a save an earlier run left half-done finished before anything
// is read.

#include "core/module1.h"

#include <filesystem>
#include <string>
#include <vector>

namespace adultify {

// Holds the game folder for this run when no other run does; silent, for reads.
void TryHoldGame(Module1& m);
// Holds the game folder for a write; when another run holds it, says so and answers false.
[[nodiscard]] bool HoldGameForWriting(Module1& m);
// Lets the game folder go (another game folder was chosen).
void ReleaseGame(Module1& m);

// The machine's own path of a program path, to hand to the file functions: the UTF-8 text
// of NativePath would be read in the 8-bit code page on Windows.
[[nodiscard]] std::filesystem::path NativeFile(Module1& m, const std::string& path);

// Notes what a game file was when read, so that a later write can tell whether it changed.
void RememberRead(Module1& m, const std::string& path, const Bytes& bytes);

// What a write is for: the command's name and the resident's user file, for the snapshot.
struct WriteCause {
    std::string command;
    std::string resident; // the Sim's user file
    std::string name;     // the Sim's name as List1 shows it
};

// Replaces the files together, or reports why nothing was changed (`what` says what was not
// saved) and answers false.
[[nodiscard]] bool WriteGameFiles(Module1& m, const std::vector<Replacement>& changes,
                                  const std::string& what, const WriteCause& cause);

// Puts the files of snapshot `id` back, all or none, after a snapshot of the files it replaces
// (so that the restore can be undone); reports why when it cannot.
[[nodiscard]] bool RestoreFromSnapshot(Module1& m, const std::string& id);

// At start-up and when the game folder changes: finishes a save an earlier run was stopped in,
// and tells the user what was done.
void RecoverInterruptedSave(Module1& m);

} // namespace adultify
