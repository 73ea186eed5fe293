#pragma once
// Several files replaced together, completely or not at all, even when the program is killed:
//   1. each new file is written and flushed beside its target, each wanted backup is linked;
//   2. WriteIntent flushes the list to "<game folder>/.adultify-intent": from here on, done;
//   3. each temp is renamed over its target, then RemoveIntent. RecoverIntent finishes step 3.
// Everything here expects the caller to hold the game folder's FolderLock.

#include "iff/safe_file.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace adultify {

struct IntentEntry {
    std::filesystem::path target;
    WrittenTemp temp;
    std::optional<std::filesystem::path> backup; // where the old file is kept, if anywhere
};

[[nodiscard]] std::filesystem::path IntentFile(const std::filesystem::path& gameFolder);

// NameTaken when a record is already there: recover first.
FileStatus WriteIntent(const std::filesystem::path& gameFolder,
                       const std::vector<IntentEntry>& entries);
FileStatus RemoveIntent(const std::filesystem::path& gameFolder);

struct Recovery {
    bool found = false;              // an earlier run had been stopped while saving
    bool complete = true;            // false when something must be tried again; the record stays
    std::vector<std::string> report; // what was done, in words for the player
};

// At start-up: finishes a recorded save (every temp still there is renamed over its target),
// or, with no record or a torn one, removes the temps of a save that had not begun
// (files named as WriteTempBeside names them, in the folder and two levels below). A recorded
// save none of whose files was renamed yet is dropped when one of its temps is damaged.
[[nodiscard]] Recovery RecoverIntent(const std::filesystem::path& gameFolder);

struct FileChange {
    std::filesystem::path target;
    Bytes bytes;
    std::optional<std::filesystem::path> backup; // a free name, e.g. from FirstFreeBackupName
};

// All three steps. A failure before the record leaves every file as it was; one after it
// leaves the record, so that RecoverIntent finishes the save at the next start.
// `afterStep` runs after each step that changes the disk, so that tests can stop there.
FileStatus ReplaceTogether(const std::filesystem::path& gameFolder,
                           const std::vector<FileChange>& changes,
                           const std::function<void()>& afterStep = {});

} // namespace adultify
