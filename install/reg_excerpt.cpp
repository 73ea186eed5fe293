#include "install/reg_excerpt.h"

#include "text/ascii.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <vector>

namespace adultify {

namespace {

constexpr unsigned char Fold(char c) {
    return static_cast<unsigned char>(AsciiLower(c));
}

bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && EqualIgnoringCase(text.substr(0, prefix.size()), prefix);
}

// "[" + the key with its backslashes doubled + "]", as the file spells a section's first line.
std::string SectionLine(std::string_view key) {
    std::string out = "[";
    for (char c : key) {
        if (c == '\\') out += '\\';
        out += c;
    }
    return out + "]";
}

} // namespace

std::string ReadSystemReg(const std::filesystem::path& prefix) {
    std::ifstream in(prefix / "system.reg", std::ios::binary | std::ios::ate);
    if (!in) return {};
    const std::streamoff size = in.tellg();
    if (size <= 0) return {};
    std::string text(static_cast<std::size_t>(size), '\0');
    in.seekg(0);
    in.read(text.data(), static_cast<std::streamsize>(size));
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

bool ContainsIgnoringCase(std::string_view text, std::string_view needle) {
    const std::size_t m = needle.size();
    if (m == 0) return true;
    if (text.size() < m) return false;
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t positions = text.size() - m + 1;
    // Setting bit 5 folds letters, and only ever merges bytes: a block where no position has
    // its first and last byte alike that way holds no match. The fixed-length loop has no
    // early exit, so the compiler runs it over many bytes at once.
    const unsigned char first = Fold(needle.front()) | 0x20;
    const unsigned char last = Fold(needle.back()) | 0x20;
    constexpr std::size_t kBlock = 256;
    for (std::size_t block = 0; block < positions; block += kBlock) {
        const std::size_t count = std::min(kBlock, positions - block);
        if (count == kBlock) {
            const unsigned char* a = p + block;
            const unsigned char* z = p + block + m - 1;
            unsigned char candidates = 0; // bytes wide, so that each step takes 16 or more
            for (std::size_t i = 0; i < kBlock; ++i)
                candidates |=
                    static_cast<unsigned char>(((a[i] | 0x20) == first) & ((z[i] | 0x20) == last));
            if (candidates == 0) continue;
        }
        for (std::size_t i = block; i < block + count; ++i)
            if (StartsWithIgnoringCase(text.substr(i), needle)) return true;
    }
    return false;
}

std::string RegistryExcerpt(std::string_view systemReg,
                            std::initializer_list<std::string_view> keys) {
    std::vector<std::string> wanted;
    for (std::string_view key : keys)
        wanted.push_back(SectionLine(key));
    std::string out = "WINE REGISTRY Version 2\n";
    bool copying = false;
    for (std::size_t start = 0; start < systemReg.size();) {
        const void* nl = std::memchr(systemReg.data() + start, '\n', systemReg.size() - start);
        const std::size_t end =
            nl ? static_cast<std::size_t>(static_cast<const char*>(nl) - systemReg.data()) + 1
               : systemReg.size();
        const std::string_view line = systemReg.substr(start, end - start);
        if (!line.empty() && line.front() == '[') {
            copying = false;
            for (const std::string& w : wanted)
                copying = copying || StartsWithIgnoringCase(line, w);
        }
        if (copying) {
            out += line;
            if (line.back() != '\n') out += '\n';
        }
        start = end;
    }
    return out;
}

} // namespace adultify
