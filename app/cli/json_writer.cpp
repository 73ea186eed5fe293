#include "app/cli/json_writer.h"

#include <cstdint>

namespace adultify {

namespace {

// The length of the valid UTF-8 sequence at the start of `s`, or 0.
std::size_t Utf8Length(std::string_view s) {
    const auto b = [&](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const std::uint8_t lead = b(0);
    std::size_t n = 0;
    std::uint32_t min = 0, cp = 0;
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) {
        n = 2, min = 0x80, cp = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        n = 3, min = 0x800, cp = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        n = 4, min = 0x10000, cp = lead & 0x07u;
    } else {
        return 0;
    }
    if (s.size() < n) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((b(i) & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (b(i) & 0x3Fu);
    }
    // Overlong forms, UTF-16 halves and what lies beyond Unicode are not text.
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return n;
}

} // namespace

JsonWriter& JsonWriter::Key(std::string_view key) {
    BeforeValue();
    Quoted(key);
    out_ << ':';
    afterKey_ = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    BeforeValue();
    Quoted(text);
    return *this;
}

JsonWriter& JsonWriter::Number(long long n) {
    BeforeValue();
    out_ << n;
    return *this;
}

JsonWriter& JsonWriter::Bool(bool b) {
    BeforeValue();
    out_ << (b ? "true" : "false");
    return *this;
}

JsonWriter& JsonWriter::Null() {
    BeforeValue();
    out_ << "null";
    return *this;
}

JsonWriter& JsonWriter::Open(char bracket) {
    BeforeValue();
    out_ << bracket;
    first_.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
    first_.pop_back();
    out_ << bracket;
    if (first_.empty()) out_ << '\n';
    return *this;
}

void JsonWriter::BeforeValue() {
    if (afterKey_) {
        afterKey_ = false;
        return;
    }
    if (first_.empty()) return;
    if (!first_.back()) out_ << ',';
    first_.back() = false;
}

void JsonWriter::Quoted(std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out_ << '"';
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '"' || c == '\\') {
            out_ << '\\' << static_cast<char>(c);
        } else if (c < 0x20 || c == 0x7F) {
            out_ << "\\u00" << kHex[c >> 4] << kHex[c & 0xF];
        } else if (c >= 0x80) {
            const std::size_t n = Utf8Length(text.substr(i));
            if (n == 0) {
                out_ << "\\ufffd";
                ++i;
                continue;
            }
            out_ << text.substr(i, n);
            i += n;
            continue;
        } else {
            out_ << static_cast<char>(c);
        }
        ++i;
    }
    out_ << '"';
}

} // namespace adultify
