#include "ui/win32/wide_text.h"

#include "ui/shown_text.h"

namespace adultify::win32 {

std::wstring WidenShown(std::string_view utf8) {
    return HasControlCharacters(utf8) ? Widen(ShownText(utf8)) : Widen(utf8);
}

} // namespace adultify::win32
