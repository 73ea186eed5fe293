#include "game/remembered_folder.h"

#include "files/record_text.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace adultify {

namespace fs = std::filesystem;

std::vector<RememberedFolder> ReadRememberedFolders(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::string folder, prefix;
    if (!in || !std::getline(in, folder) || folder.empty()) return {};
    RememberedFolder r{folder, std::nullopt};
    if (std::getline(in, prefix) && !prefix.empty()) r.prefix = TextPath(prefix);
    return {r};
}

bool WriteRememberedFolder(const fs::path& file, const RememberedFolder& folder) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    const fs::path next = fs::path(file).concat(".new");
    {
        std::ofstream out(next, std::ios::binary | std::ios::trunc);
        out << folder.gameFolder << '\n';
        if (folder.prefix) out << PathText(*folder.prefix) << '\n';
        out.flush();
        if (!out) return false;
    }
    fs::rename(next, file, ec);
    if (ec) fs::remove(next, ec);
    return !ec;
}

} // namespace adultify
