#include "ui/shown_text.h"

namespace adultify {

namespace {

constexpr std::string_view kPlaceholder = "\xEF\xBF\xBD"; // U+FFFD in UTF-8

// The length of the control character starting at `at`, or 0: C1 controls are C2 80 to C2 9F
// in UTF-8.
std::size_t ControlLength(std::string_view s, std::size_t at) {
    const auto c = static_cast<unsigned char>(s[at]);
    if ((c < 0x20 && c != '\n') || c == 0x7F) return 1;
    if (c == 0xC2 && at + 1 < s.size()) {
        const auto next = static_cast<unsigned char>(s[at + 1]);
        if (next >= 0x80 && next <= 0x9F) return 2;
    }
    return 0;
}

} // namespace

bool HasControlCharacters(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size(); ++i)
        if (ControlLength(utf8, i) != 0) return true;
    return false;
}

std::string ShownText(std::string_view utf8) {
    std::string shown;
    shown.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::size_t control = ControlLength(utf8, i);
        if (control == 0) {
            shown += utf8[i++];
            continue;
        }
        shown += kPlaceholder;
        i += control;
    }
    return shown;
}

} // namespace adultify
