#pragma once
// A path as UTF-8 text and back: on Windows through UTF-16, on Linux its bytes as they are.

#include <filesystem>
#include <string>
#include <string_view>

namespace adultify {

[[nodiscard]] std::string PathText(const std::filesystem::path& path);
[[nodiscard]] std::filesystem::path TextPath(std::string_view text);

} // namespace adultify
