#pragma once
// Copies of the game files a command is about to replace, kept in the user's own data folder
// (outside the game folder and any Wine prefix, which players reset), so that any command,
// a restore included, can be undone.
//
// <root>/<game key>/hood-<n>/<id>/   one snapshot: "1-Neighborhood.iff", "2-User00001.iff", ...
//                                    and kSnapshotRecord, written last; without it the snapshot
//                                    is incomplete and ignored.
// The game key is the game folder's last name, made safe, and a hash of its whole path.

#include "files/safe_file.h"
#include "game/user_folders.h"
#include "install/wine_prefix.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace adultify {

inline constexpr std::string_view kSnapshotRecord = "snapshot.txt";
inline constexpr int kSnapshotsKeptPerHood = 200;

struct SnapshotInfo {
    // "20261207-011530-123-000-1a2b3c4d-3": UTC time, milliseconds, a number that tells apart
    // snapshots of one millisecond, the game key's hash and the neighbourhood. Sorts by time.
    std::string id;
    std::string time;     // ISO 8601 local time with its offset: "2026-12-07T02:15:30.123+01:00"
    std::string command;  // what wrote: "adultify", "fix-thumbnails", "save", "restore"
    std::string resident; // the Sim's user file ("user00004"), when the command concerns one
    std::string name;     // the Sim's name as List1 shows it; empty in records kept without it
    int hood = 0;
    std::string gameFolder;         // native path (UTF-8 on Windows)
    std::vector<std::string> files; // relative to the game folder, "/" between names
    std::filesystem::path folder;   // where the snapshot lies
};

// What a snapshot keeps of one game file, as the caller read it.
struct SnapshotCopy {
    std::string name; // relative to the game folder, "/" between names
    Bytes bytes;
    // A file too large to hold (a restore keeps what it replaces whatever its size): copied in
    // pieces from this path instead of `bytes`.
    std::optional<std::filesystem::path> large;
};

// Why a snapshot is taken: the command that writes and whom it concerns.
struct SnapshotCause {
    std::string command;
    std::string resident; // the Sim's user file
    std::string name;     // the Sim's name as List1 shows it
};

// Keeps `copies` of files inside `gameFolder` as a snapshot of neighbourhood `hood`. The caller
// holds the game folder's FolderLock. Afterwards the neighbourhood's oldest snapshots beyond
// kSnapshotsKeptPerHood are removed, never the one with id `keep` (the one a restore brings
// back).
[[nodiscard]] FileResult<SnapshotInfo> TakeSnapshot(const std::filesystem::path& root,
                                                    const std::filesystem::path& gameFolder,
                                                    int hood, const SnapshotCause& cause,
                                                    const std::vector<SnapshotCopy>& copies,
                                                    const std::string& keep = {});

// Complete snapshots of that game folder and neighbourhood, newest first.
[[nodiscard]] std::vector<SnapshotInfo>
ListSnapshots(const std::filesystem::path& root, const std::filesystem::path& gameFolder, int hood);

[[nodiscard]] FileResult<SnapshotInfo> FindSnapshot(const std::filesystem::path& root,
                                                    const std::string& id);

struct SnapshotFiles {
    SnapshotInfo info;
    std::vector<SnapshotCopy> copies;
};

// The files of snapshot `id`, read back from the store and checked, to put back into
// `gameFolder`; refused when that is not the folder it was taken of, or when the snapshot is
// damaged or names a file outside the game folder. A file that did not exist when the
// snapshot was taken is not among them.
[[nodiscard]] FileResult<SnapshotFiles> ReadSnapshotFiles(const std::filesystem::path& root,
                                                          const std::string& id,
                                                          const std::filesystem::path& gameFolder);

} // namespace adultify
