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

// Holds the game folder for this run when no other run does; silent, for reads. In an editor,
// a game another run holds is shown look-only, and the user is told once.
void TryHoldGame(Module1& m);
// A look-only editor takes the game when the other run has let it go; true when it now can
// save again.
[[nodiscard]] bool RetakeGame(Module1& m);
// Holds the game folder for a write; when another run holds it, says so and answers false.
[[nodiscard]] bool HoldGameForWriting(Module1& m);
// Lets the game folder go (another game folder was chosen).
void ReleaseGame(Module1& m);

inline constexpr const char* kChangeFilesQuestion =
    "It keeps its own copy of the neighbourhood and may save over these changes, or read "
    "half-changed files.\nChange the files anyway?";
// The question when the game is running; false (and counted, with the reason kept) when the
// user answers No.
[[nodiscard]] bool GameRunningAllows(Module1& m, const std::string& question);
// Why a write was not made, in a player's words: "the folder is read-only".
[[nodiscard]] std::string NotSavedReason(const FileError& error);
// "Nothing was saved: the game is running.", from the reason kept for the last write.
[[nodiscard]] std::string NothingSavedText(const Outcomes& outcomes);

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
// saved), keeps the reason in Module1::notSavedBecause and answers false. The game-running
// question is not asked again when the command asked it before its work.
[[nodiscard]] bool WriteGameFiles(Module1& m, std::vector<Replacement> changes,
                                  const std::string& what, const WriteCause& cause);

// Puts the files of snapshot `id` back through the same door as every write (the lock, the
// game-running and changed-file questions, the file system's replacement, all or none), after
// a snapshot of the files it replaces, so that the restore can be undone; reports why when it
// cannot.
[[nodiscard]] bool RestoreFromSnapshot(Module1& m, const std::string& id);

// At start-up and when the game folder changes: finishes a save an earlier run was stopped in,
// and tells the user what was done.
void RecoverInterruptedSave(Module1& m);

} // namespace adultify
