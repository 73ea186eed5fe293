#include "game/remembered_folder.h"

#include "files/record_text.h"
#include "files/safe_file.h"

#include <fstream>
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

// Written whole and flushed before the rename, so that a power cut never leaves it empty.
bool WriteRememberedFolder(const fs::path& file, const RememberedFolder& folder) {
    std::error_code ec;
    fs::create_directories(file.parent_path(), ec);
    const fs::path next = fs::path(file).concat(".new");
    std::string text = folder.gameFolder + "\n";
    if (folder.prefix) text += PathText(*folder.prefix) + "\n";
    fs::remove(next, ec); // left by a run stopped before its rename
    if (!WriteNewFile(next, ToBytes(text))) return false;
    if (ReplaceWith(next, file)) return true;
    fs::remove(next, ec);
    return false;
}

} // namespace adultify
