#pragma once
// The small text records the program keeps beside files (the record of a save, a snapshot's
// list): paths as UTF-8 on every system, names escaped so that no byte splits a field, and
// numbers read strictly.

#include "text/path_text.h"

#include <charconv>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace adultify {

// Control bytes, DEL and '%' become "%XX"; everything else stays.
[[nodiscard]] std::string Escape(const std::string& text);
// Nothing when a "%" is not followed by two hex digits.
[[nodiscard]] std::optional<std::string> Unescape(std::string_view text);

// Hands each part of `text` between separators to `part` in turn, until it answers false:
// whether every part was taken. Nothing is allocated.
template <typename Part> bool ForEachPart(std::string_view text, char separator, Part&& part) {
    for (std::size_t start = 0;;) {
        const std::size_t end = text.find(separator, start);
        if (!part(text.substr(start, end - start))) return false;
        if (end == std::string_view::npos) return true;
        start = end + 1;
    }
}

[[nodiscard]] std::vector<std::string_view> Split(std::string_view text, char separator);
// Split into the room of `fields`, with nothing allocated: the number of fields the text holds,
// which is more than the room when only the first ones fit.
std::size_t SplitInto(std::string_view text, char separator, std::span<std::string_view> fields);
// Eight lower-case hex digits.
[[nodiscard]] std::string Hex8(std::uint32_t value);

// The whole text as a number in `base`; nothing for anything else, an empty text included.
template <typename T> [[nodiscard]] std::optional<T> Number(std::string_view text, int base = 10) {
    T value{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

} // namespace adultify
