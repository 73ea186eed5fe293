#include "sample/text_encoding.h"
#include "sample/text_encoding_platform.h"

#include "iff/cp1252.h"

#include <stdexcept>

namespace adultify::sample {

namespace {

[[noreturn]] void Fail(std::string_view utf8, int codePage) {
    throw std::invalid_argument("\"" + std::string(utf8) + "\" has no place in code page " +
                                std::to_string(codePage));
}

} // namespace

std::string EncodeText(std::string_view utf8, int codePage) {
    if (codePage == 1252) return Utf8ToCp1252(utf8); // as the samples always had it
    if (utf8.empty()) return {};
    std::optional<std::string> out = EncodeWithSystem(utf8, codePage);
    if (!out) Fail(utf8, codePage);
    return *out;
}

} // namespace adultify::sample
