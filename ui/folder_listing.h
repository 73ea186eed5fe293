#pragma once
// What the folder, drive and file lists show, the one rule every window layer lists by. Paths
// are UTF-8 text.

#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace adultify {

struct FolderEntry {
    std::string path;  // the folder it stands for
    std::string name;  // as shown: a root whole, any other folder by its own name
    int depth = 0;     // how far it is indented
    bool open = false; // the open folder or one above it
};

// The open folder's chain from its root down, then its subfolders by name, letter case
// ignored. Hidden folders are listed: Steam and Flatpak keep games under .steam, .local and
// .var. A folder that cannot be read shows its chain only.
[[nodiscard]] std::vector<FolderEntry> ListFolders(std::string_view folder);
// The open folder's line in that listing: the last of its chain.
[[nodiscard]] int OpenFolderLine(std::span<const FolderEntry> entries);

struct DriveEntry {
    std::string root; // the folder the drive stands for
    std::string name; // as shown
};

// The machine's drives, then the drive letters of a Wine prefix's `dosdevices` folder, each
// with the folder it stands for.
[[nodiscard]] std::vector<DriveEntry>
ListDrives(const std::optional<std::filesystem::path>& dosdevices);

// An entry of a folder and what it is, a link taken as what it leads to.
struct FolderChild {
    std::filesystem::path name;
    bool folder = false;
    bool file = false; // a regular file
};
// The entries of `folder`, each looked at once: Windows tells what each is with its name, which
// spares a look-up by name per entry (under Wine, a search of the folder each). Empty when the
// folder cannot be read.
[[nodiscard]] std::vector<FolderChild> ReadFolder(const std::filesystem::path& folder);

// The machine's own drives: each present letter on Windows, the root elsewhere.
[[nodiscard]] std::vector<DriveEntry> MachineDrives();
// The drive that holds `folder`: the one whose root is the longest leading part of it, the
// machine's own before a drive letter for the same folder; -1 when none does.
[[nodiscard]] int DriveHolding(std::span<const DriveEntry> drives, std::string_view folder);

// The names of the files in `folder` that match `pattern` ('*' and '?'; "*.IFF"), letter case
// ignored as the game's own file system does, in name order.
[[nodiscard]] std::vector<std::string> ListFiles(std::string_view folder, std::string_view pattern);

} // namespace adultify
