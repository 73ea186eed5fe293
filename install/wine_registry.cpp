#include "install/wine_registry.h"

#include "iff/cp1252.h"
#include "text/ascii.h"

#include <cctype>
#include <fstream>
#include <optional>
#include <sstream>

namespace adultify {

namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string Utf16ToUtf8(const std::u16string& units) {
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[i + 1] - 0xDC00);
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD;
        }
        AppendUtf8(out, c);
    }
    return out;
}

// The character of a one-letter escape such as \n; none for the others.
std::optional<char16_t> LetterEscape(char e) {
    switch (e) {
    case 'n': return u'\n';
    case 't': return u'\t';
    case 'r': return u'\r';
    case 'a': return u'\a';
    case 'b': return u'\b';
    case 'v': return u'\v';
    case 'f': return u'\f';
    case 'e': return static_cast<char16_t>(27);
    default: return std::nullopt;
    }
}

// \x and up to four hex digits from i; a bare \x stands for 'x'.
char16_t HexEscape(std::string_view text, std::size_t& i) {
    unsigned v = 0;
    int digits = 0;
    while (digits < 4 && i < text.size() && HexDigit(text[i]) >= 0) {
        v = v * 16 + static_cast<unsigned>(HexDigit(text[i++]));
        ++digits;
    }
    return digits == 0 ? u'x' : static_cast<char16_t>(v);
}

// An octal escape: the digit e and up to two more from i, kept to a byte.
char16_t OctalEscape(char e, std::string_view text, std::size_t& i) {
    unsigned v = static_cast<unsigned>(e - '0');
    for (int digits = 1; digits < 3 && i < text.size() && text[i] >= '0' && text[i] <= '7';
         ++digits)
        v = v * 8 + static_cast<unsigned>(text[i++] - '0');
    return static_cast<char16_t>(v & 0xFF);
}

// The escape after a backslash, e, whose further characters start at i.
char16_t Escape(char e, std::string_view text, std::size_t& i) {
    if (const auto letter = LetterEscape(e)) return *letter;
    if (e == 'x') return HexEscape(text, i);
    if (e >= '0' && e <= '7') return OctalEscape(e, text, i);
    return static_cast<char16_t>(static_cast<unsigned char>(e)); // \\ and \" among them
}

// Decodes up to the unescaped terminator; the result is UTF-16 code units.
std::u16string DecodeEscaped(std::string_view text, char terminator, std::size_t* consumed) {
    std::u16string out;
    std::size_t i = 0;
    while (i < text.size() && text[i] != terminator) {
        if (text[i] != '\\' || i + 1 >= text.size()) {
            // Raw UTF-8 as Wine would have read it; a stray byte stands for itself.
            AppendUtf16(out, NextCodePoint(text, i));
            continue;
        }
        const char e = text[i + 1];
        i += 2;
        out += Escape(e, text, i);
    }
    if (consumed) *consumed = i < text.size() ? i + 1 : i;
    return out;
}

Bytes ToUtf8Bytes(const std::u16string& units) {
    return ToBytes(Utf16ToUtf8(units));
}

std::u16string FromUtf16Le(const Bytes& raw) {
    std::u16string units;
    for (std::size_t i = 0; i + 1 < raw.size(); i += 2)
        units += static_cast<char16_t>(raw[i] | (raw[i + 1] << 8));
    return units;
}

bool ParseHexList(std::string_view text, Bytes& out) {
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() &&
               (text[i] == ',' || std::isspace(static_cast<unsigned char>(text[i]))))
            ++i;
        if (i >= text.size()) break;
        int hi = HexDigit(text[i]);
        int lo = i + 1 < text.size() ? HexDigit(text[i + 1]) : -1;
        if (hi < 0) return false;
        if (lo < 0) {
            out.push_back(static_cast<std::uint8_t>(hi));
            ++i;
        } else {
            out.push_back(static_cast<std::uint8_t>(hi * 16 + lo));
            i += 2;
        }
    }
    return true;
}

bool IsStringType(std::uint32_t type) {
    return type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
}

// The data after '=' (continuation lines already joined).
bool ParseData(std::string_view data, RegValue& value) {
    if (!data.empty() && data.front() == '"') {
        value.type = kRegSz;
        value.data = ToUtf8Bytes(DecodeEscaped(data.substr(1), '"', nullptr));
        value.data.push_back(0);
        return true;
    }
    if (data.rfind("str(", 0) == 0) {
        const auto close = data.find("):\"");
        if (close == std::string_view::npos) return false;
        value.type = static_cast<std::uint32_t>(
            std::strtoul(std::string(data.substr(4, close - 4)).c_str(), nullptr, 16));
        value.data = ToUtf8Bytes(DecodeEscaped(data.substr(close + 3), '"', nullptr));
        value.data.push_back(0);
        return true;
    }
    if (data.rfind("dword:", 0) == 0) {
        const unsigned long v = std::strtoul(std::string(data.substr(6)).c_str(), nullptr, 16);
        value.type = kRegDword;
        value.data = {static_cast<std::uint8_t>(v & 0xFF),
                      static_cast<std::uint8_t>((v >> 8) & 0xFF),
                      static_cast<std::uint8_t>((v >> 16) & 0xFF),
                      static_cast<std::uint8_t>((v >> 24) & 0xFF)};
        return true;
    }
    if (data.rfind("hex:", 0) == 0) {
        value.type = kRegBinary;
        return ParseHexList(data.substr(4), value.data);
    }
    if (data.rfind("hex(", 0) == 0) {
        const auto close = data.find("):");
        if (close == std::string_view::npos) return false;
        value.type = static_cast<std::uint32_t>(
            std::strtoul(std::string(data.substr(4, close - 4)).c_str(), nullptr, 16));
        Bytes raw;
        if (!ParseHexList(data.substr(close + 2), raw)) return false;
        // Wine keeps these strings as UTF-16.
        value.data = IsStringType(value.type) ? ToUtf8Bytes(FromUtf16Le(raw)) : raw;
        return true;
    }
    return false;
}

// The lines without their ends, a CR before the LF among them.
std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// Hex data goes on over the next lines after a trailing backslash; n moves to the last line
// used.
std::string JoinContinuations(std::string_view first, const std::vector<std::string_view>& lines,
                              std::size_t& n) {
    std::string data(first);
    while (!data.empty() && data.back() == '\\' && n + 1 < lines.size()) {
        data.pop_back();
        std::string_view next = lines[++n];
        while (!next.empty() && std::isspace(static_cast<unsigned char>(next.front())))
            next.remove_prefix(1);
        data += next;
    }
    return data;
}

} // namespace

std::string DecodeRegString(std::string_view text, std::size_t* consumed) {
    return Utf16ToUtf8(DecodeEscaped(text, '"', consumed));
}

WineRegistry WineRegistry::FromPrefix(const std::filesystem::path& prefix) {
    std::ifstream in(prefix / "system.reg", std::ios::binary);
    if (!in) return {};
    std::ostringstream text;
    text << in.rdbuf();
    return FromText(text.str());
}

WineRegistry WineRegistry::FromText(std::string_view text) {
    WineRegistry reg;
    const std::vector<std::string_view> lines = SplitLines(text);
    if (lines.empty() || lines.front() != "WINE REGISTRY Version 2") return reg;

    Values* current = nullptr;
    for (std::size_t n = 1; n < lines.size(); ++n) {
        std::string_view line = lines[n];
        if (line.empty() || line.front() == ';' || line.front() == '#') continue;
        if (line.front() == '[') {
            std::size_t used = 0;
            const std::string name = Utf16ToUtf8(DecodeEscaped(line.substr(1), ']', &used));
            current = &reg.keys_[AsciiLower(name)];
            continue;
        }
        if (!current || (line.front() != '"' && line.front() != '@')) continue;
        std::string name;
        std::size_t pos = 1;
        if (line.front() == '"') {
            std::size_t used = 0;
            name = DecodeRegString(line.substr(1), &used);
            pos = 1 + used;
        }
        if (pos >= line.size() || line[pos] != '=') continue;
        const std::string data = JoinContinuations(line.substr(pos + 1), lines, n);
        RegValue value;
        if (ParseData(data, value)) (*current)[AsciiLower(name)] = std::move(value);
    }
    return reg;
}

long WineRegistry::OpenKey(RegRoot, std::string_view subKey, RegKey& key) {
    const std::string wanted = AsciiLower(subKey);
    // A 32-bit program on a 64-bit system reads the redirected copy under Wow6432Node.
    std::vector<std::string> candidates;
    if (wanted.rfind("software\\", 0) == 0)
        candidates.push_back("software\\wow6432node\\" + wanted.substr(9));
    candidates.push_back(wanted);
    for (const std::string& c : candidates) {
        auto it = keys_.find(c);
        if (it != keys_.end()) {
            open_.push_back(&it->second);
            key = open_.size();
            return kErrorSuccess;
        }
    }
    return kErrorFileNotFound;
}

long WineRegistry::QueryValue(RegKey key, std::string_view valueName, std::uint32_t* type,
                              std::uint8_t* data, std::uint32_t* size) {
    if (key == 0 || key > open_.size() || open_[key - 1] == nullptr) return kErrorInvalidHandle;
    const Values& values = *open_[key - 1];
    auto it = values.find(AsciiLower(valueName));
    if (it == values.end()) return kErrorFileNotFound;
    const RegValue& v = it->second;
    if (type) *type = v.type;
    return HandBackValue(v.data, data, size);
}

long WineRegistry::CloseKey(RegKey key) {
    if (key == 0 || key > open_.size()) return kErrorInvalidHandle;
    open_[key - 1] = nullptr;
    return kErrorSuccess;
}

} // namespace adultify
