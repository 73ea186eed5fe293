#include "files/record_text.h"

#include <cstdio>

namespace adultify {

std::string Escape(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F || c == '%') {
            char code[4];
            std::snprintf(code, sizeof code, "%%%02X", byte);
            out += code;
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> Unescape(std::string_view text) {
    if (text.find('%') == std::string_view::npos) return std::string(text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') {
            out += text[i];
            continue;
        }
        const auto value =
            i + 3 <= text.size() ? Number<unsigned>(text.substr(i + 1, 2), 16) : std::nullopt;
        if (!value) return std::nullopt;
        out += static_cast<char>(*value);
        i += 2;
    }
    return out;
}

std::size_t SplitInto(std::string_view text, char separator, std::span<std::string_view> fields) {
    std::size_t count = 0;
    ForEachPart(text, separator, [&](std::string_view field) {
        if (count < fields.size()) fields[count] = field;
        ++count;
        return true;
    });
    return count;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    // Counted first, so that the parts are allocated once.
    std::vector<std::string_view> parts(SplitInto(text, separator, {}));
    SplitInto(text, separator, parts);
    return parts;
}

std::string Hex8(std::uint32_t value) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(value));
    return text;
}

} // namespace adultify
