#include "iff/cp1252.h"

#include <cstdint>

namespace adultify {

namespace {

// 0x80..0x9F; the five holes map to the C1 controls, as Windows' own conversion does.
constexpr char16_t kHigh[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Decode(std::uint8_t b) {
    if (b >= 0x80 && b < 0xA0) return kHigh[b - 0x80];
    return b;
}

} // namespace

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::string Cp1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (char ch : bytes)
        AppendUtf8(out, Decode(static_cast<std::uint8_t>(ch)));
    return out;
}

std::string Cp1252ToUtf8(const Bytes& bytes) {
    return Cp1252ToUtf8(AsText(bytes));
}

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c >= 0x10000) {
        c -= 0x10000;
        out += static_cast<char16_t>(0xD800 + (c >> 10));
        out += static_cast<char16_t>(0xDC00 + (c & 0x3FF));
    } else {
        out += static_cast<char16_t>(c);
    }
}

char32_t NextCodePoint(std::string_view text, std::size_t& i, bool* valid) {
    const auto b = static_cast<std::uint8_t>(text[i]);
    const std::size_t len = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    char32_t c = len == 4 ? b & 0x07 : len == 3 ? b & 0x0F : len == 2 ? b & 0x1F : b;
    bool ok = (b < 0x80 || len > 1) && i + len <= text.size();
    for (std::size_t k = 1; ok && k < len; ++k) {
        const auto cont = static_cast<std::uint8_t>(text[i + k]);
        ok = (cont & 0xC0) == 0x80;
        c = (c << 6) | (cont & 0x3F);
    }
    if (valid) *valid = ok;
    if (!ok) {
        ++i;
        return b;
    }
    i += len;
    return c;
}

std::string Utf8ToCp1252(std::string_view utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        bool valid = true;
        const char32_t c = NextCodePoint(utf8, i, &valid);
        if (!valid) {
            out += '?';
        } else if (c < 0x80 || (c >= 0xA0 && c < 0x100)) {
            out += static_cast<char>(c);
        } else {
            char mapped = '?';
            for (int k = 0; k < 32; ++k)
                if (kHigh[k] == c) mapped = static_cast<char>(0x80 + k);
            out += mapped;
        }
    }
    return out;
}

} // namespace adultify
