#include "ui/folder_listing.h"

#include <windows.h>

#include <system_error>

namespace adultify {

namespace fs = std::filesystem;

std::vector<FolderChild> ReadFolder(const fs::path& folder) {
    std::vector<FolderChild> children;
    WIN32_FIND_DATAW data{};
    HANDLE find = FindFirstFileExW((folder / L"*").c_str(), FindExInfoBasic, &data,
                                   FindExSearchNameMatch, nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (find == INVALID_HANDLE_VALUE) return children;
    do {
        const std::wstring_view name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        FolderChild child{fs::path(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0};
        child.file = !child.folder && (data.dwFileAttributes & FILE_ATTRIBUTE_DEVICE) == 0;
        if (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) { // a link: what it leads to
            std::error_code notThere;
            const fs::file_status target = fs::status(folder / child.name, notThere);
            child.folder = fs::is_directory(target);
            child.file = fs::is_regular_file(target);
        }
        children.push_back(std::move(child));
    } while (FindNextFileW(find, &data));
    FindClose(find);
    return children;
}

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
