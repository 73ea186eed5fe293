#pragma once
// Texts as the windows draw them, in UTF-16: a name's control characters as the placeholder
// glyph. The plain conversions are text/wide_text.h.

#include "text/wide_text.h"

#include <string>
#include <string_view>

namespace adultify::win32 {

[[nodiscard]] std::wstring WidenShown(std::string_view utf8);

} // namespace adultify::win32
