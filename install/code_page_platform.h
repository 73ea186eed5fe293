#pragma once
// What the system's own tables do for install/code_page.cpp, in its *_posix.cpp (iconv) and
// *_windows.cpp (MultiByteToWideChar) halves.

#include <string>
#include <string_view>

namespace adultify {

// Bytes in a known code page other than 1252, not empty, as UTF-8: each byte the page leaves
// undefined, or a lead byte without its trail, becomes U+FFFD.
[[nodiscard]] std::string DecodeWithSystem(std::string_view bytes, int codePage);

} // namespace adultify
