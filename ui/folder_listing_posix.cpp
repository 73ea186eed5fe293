#include "ui/folder_listing.h"

#include <system_error>

namespace adultify {

namespace fs = std::filesystem;

std::vector<FolderChild> ReadFolder(const fs::path& folder) {
    std::vector<FolderChild> children;
    std::error_code ec;
    for (fs::directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec), end;
         !ec && it != end; it.increment(ec)) {
        std::error_code notThere; // a link that leads nowhere is neither
        children.push_back(
            {it->path().filename(), it->is_directory(notThere), it->is_regular_file(notThere)});
    }
    return children;
}

std::vector<DriveEntry> MachineDrives() {
    return {{"/", "/"}};
}

} // namespace adultify
