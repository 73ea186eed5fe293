#pragma once
// The system's own tables for sample/text_encoding.cpp: iconv in its *_posix.cpp half,
// WideCharToMultiByte in its *_windows.cpp half.

#include <optional>
#include <string>
#include <string_view>

namespace adultify::sample {

// Not empty UTF-8 in a code page other than 1252; nothing when a character has no place in it.
[[nodiscard]] std::optional<std::string> EncodeWithSystem(std::string_view utf8, int codePage);

} // namespace adultify::sample
