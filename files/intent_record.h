#pragma once
// Several files replaced together, completely or not at all, even when the program is killed:
//   0. WriteTempsMarker flushes "<game folder>/.adultify-temps", naming the folders the save
//      writes temps into: a start looks for leftover temps there, not in every folder;
//   1. each new file is written and flushed beside its target;
//   2. WriteIntent flushes the list to "<game folder>/.adultify-intent", with what each target
//      was before: from here on the save is finished, unless a target changes meanwhile;
//   3. each wanted backup is linked, each temp is renamed over its target, then RemoveIntent;
//   4. the marker is removed last.
// RecoverIntent finishes step 3 after a kill. Everything here expects the caller to hold the
// game folder's FolderLock.

#include "files/file_stamp.h"
#include "files/safe_file.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace adultify {

// A target larger than this is recorded by its size and time alone, never read whole.
inline constexpr std::uint64_t kLargestHashedTarget = kLargestGameFile;

// What a target was before the save began.
struct TargetBefore {
    FileStamp stamp;    // its hash by kRecordHash
    bool hashed = true; // false: too large to read; size and time tell it apart
};

// The hash a record keeps of a target, as records written by every version keep it.
inline constexpr BytesHash kRecordHash = Fnv1a64;

struct IntentEntry {
    std::filesystem::path target;
    WrittenTemp temp;
    std::optional<std::filesystem::path> backup; // where the old file is kept, if anywhere
    std::optional<TargetBefore> before;          // nothing: no file had the target's name
};

// Whether `folder` is the game folder or inside it once every link is followed.
[[nodiscard]] bool IsInsideGameFolder(const std::filesystem::path& folder,
                                      const std::filesystem::path& gameFolder);

[[nodiscard]] std::filesystem::path IntentFile(const std::filesystem::path& gameFolder);

// Names are kept relative to the game folder. NameTaken when a record is already there;
// NotFound when an entry lies outside the game folder (links followed): nothing is written.
FileStatus WriteIntent(const std::filesystem::path& gameFolder,
                       const std::vector<IntentEntry>& entries);
FileStatus RemoveIntent(const std::filesystem::path& gameFolder);

[[nodiscard]] std::filesystem::path TempsMarkerFile(const std::filesystem::path& gameFolder);
// NameTaken when a marker is already there; NotFound when a folder lies outside the game folder.
FileStatus WriteTempsMarker(const std::filesystem::path& gameFolder,
                            const std::vector<std::filesystem::path>& folders);
// The folders a whole marker names; nothing when it is torn, damaged or not a marker.
[[nodiscard]] std::optional<std::vector<std::filesystem::path>>
ParseTempsMarker(const std::filesystem::path& gameFolder, const Bytes& bytes);

// The record's entries, with paths inside `gameFolder`. Nothing when the record is torn or
// damaged (the crash came while it was written); an error with the reason when it is whole
// but describes anything but a save of Adultify's own inside the game folder.
struct ParsedIntent {
    std::optional<std::vector<IntentEntry>> entries;
    std::optional<std::string> refused;
};
[[nodiscard]] ParsedIntent ParseIntent(const std::filesystem::path& gameFolder, const Bytes& bytes);

struct Recovery {
    bool found = false;              // an earlier run had been stopped while saving
    bool complete = true;            // false when something must be tried again; the record stays
    bool declined = false;           // the record was not used and stays as it is
    int replaced = 0;                // game files this recovery replaced
    std::vector<std::string> report; // what was done, in words for the player
};

// Asked before a recorded save replaces the files it names (the game may be running, a copy
// may be wanted); false leaves every file and the record as they are.
using BeforeReplacing = std::function<bool(const std::vector<std::filesystem::path>& targets)>;

struct RecoveryHooks {
    // Every folder saves write their temps into: looked at only when a marker or record is
    // torn or damaged, and where an earlier save wrote is not known.
    std::function<std::vector<std::filesystem::path>()> tempFolders;
    BeforeReplacing beforeReplacing;
};

// At start-up: finishes a recorded save when every target it has not replaced yet is still
// the file the record describes; otherwise drops it, keeping every file as it is on disk.
// Then removes the temps of a save that had not finished (files named as WriteTempBeside
// names them, in the folders the marker and the record name; in the game folder and
// `tempFolders` too when either is torn), and the marker last.
// A record that names anything else is declined and left alone.
[[nodiscard]] Recovery RecoverIntent(const std::filesystem::path& gameFolder,
                                     const RecoveryHooks& hooks = {});

// A target as the caller read it right before the save, so that it is not read again.
struct TargetRead {
    std::shared_ptr<const Bytes> bytes; // nothing: no file had the target's name
    FileStamp stamp;                    // taken right after the read
};

struct FileChange {
    std::filesystem::path target;
    Bytes bytes;
    std::optional<std::filesystem::path> backup; // a free name (FileSystem::FreeBackupName)
    // Nothing: the target is read again. Given: those bytes are kept for putting back, and the
    // save is refused when the disk no longer shows that file (its size or time differ).
    std::optional<TargetRead> read = std::nullopt;
};

// All three steps. A failure leaves every file as it was: a target that cannot be replaced
// (held open, read-only) puts back the ones already replaced. Only when even that fails, or
// when the program is killed, does the record stay for RecoverIntent at the next start.
// `afterStep` runs after each step that changes the disk, so that tests can stop there.
FileStatus ReplaceTogether(const std::filesystem::path& gameFolder,
                           const std::vector<FileChange>& changes,
                           const std::function<void()>& afterStep = {});

} // namespace adultify
