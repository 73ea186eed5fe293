#pragma once
// The game's texts are 8-bit Windows-1252; everything the program shows is UTF-8.

#include "iff/byte_string.h"

#include <string>
#include <string_view>

namespace adultify {

[[nodiscard]] std::string Cp1252ToUtf8(std::string_view bytes);
[[nodiscard]] std::string Cp1252ToUtf8(const Bytes& bytes);
// Characters Windows-1252 cannot hold become '?', as the system's 8-bit conversion does.
[[nodiscard]] std::string Utf8ToCp1252(std::string_view utf8);
// Appends one Unicode code point as UTF-8.
void AppendUtf8(std::string& out, char32_t c);
// Appends one Unicode code point as UTF-16: a surrogate pair beyond the first 65,536.
void AppendUtf16(std::u16string& out, char32_t c);
// The code point whose UTF-8 sequence starts at text[i], moving i past it. A byte that starts
// no valid sequence is taken alone and returned as it is, with *valid false.
[[nodiscard]] char32_t NextCodePoint(std::string_view text, std::size_t& i, bool* valid = nullptr);

} // namespace adultify
