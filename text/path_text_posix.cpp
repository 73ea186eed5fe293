#include "text/path_text.h"

namespace adultify {

std::string PathText(const std::filesystem::path& path) {
    return path.native();
}

std::filesystem::path TextPath(std::string_view text) {
    return std::filesystem::path(text);
}

} // namespace adultify
