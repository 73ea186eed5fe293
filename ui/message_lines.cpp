#include "ui/message_lines.h"

namespace adultify {

std::vector<std::string_view> HeldLines(std::string_view text) {
    std::vector<std::string_view> held;
    if (text.find('\n') == std::string_view::npos) return held;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        // Counted in characters: a UTF-8 continuation byte starts none.
        std::size_t characters = 0;
        for (const char c : line)
            characters += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        if (characters <= kHeldLineLength) held.push_back(line);
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    return held;
}

} // namespace adultify
