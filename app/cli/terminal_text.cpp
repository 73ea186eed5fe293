#include "app/cli/terminal_text.h"

#include <algorithm>
#include <cstdio>

namespace adultify {

std::string TerminalText(std::string_view text) {
    std::string out;
    AppendTerminalText(out, text);
    return out;
}

void AppendTerminalText(std::string& out, std::string_view text) {
    const auto plain = [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte >= 0x20 && byte != 0x7F && byte != 0xC2;
    };
    if (std::all_of(text.begin(), text.end(), plain)) { // the usual name: nothing to change
        out += text;
        return;
    }
    out.reserve(out.size() + text.size());
    char code[8];
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const auto next = i + 1 < text.size() ? static_cast<unsigned char>(text[i + 1]) : 0;
        if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20 || c == 0x7F) {
            std::snprintf(code, sizeof code, "\\x%02x", c);
            out += code;
        } else if (c == 0xC2 && next >= 0x80 && next <= 0x9F) { // U+0080 to U+009F
            std::snprintf(code, sizeof code, "\\u%04x", next);
            out += code;
            ++i;
        } else {
            out += static_cast<char>(c);
        }
    }
}

} // namespace adultify
