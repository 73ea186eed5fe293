#pragma once
// Texts cross into Windows as UTF-16 and come back as UTF-8; the ANSI calls are never used, so
// that names in any script show as they are.

#include <string>
#include <string_view>

namespace adultify::win32 {

[[nodiscard]] std::wstring Widen(std::string_view utf8);
[[nodiscard]] std::string Narrow(std::wstring_view utf16);
// A text as drawn: a name's control characters as the placeholder glyph.
[[nodiscard]] std::wstring WidenShown(std::string_view utf8);

} // namespace adultify::win32
