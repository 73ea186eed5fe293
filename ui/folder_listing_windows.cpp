#include "ui/folder_listing.h"

#include <windows.h>

namespace adultify {

std::vector<DriveEntry> MachineDrives() {
    std::vector<DriveEntry> drives;
    const DWORD present = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter)
        if (present & (DWORD{1} << letter)) {
            const std::string root = std::string(1, static_cast<char>('A' + letter)) + ":\\";
            drives.push_back({root, root});
        }
    return drives;
}

} // namespace adultify
