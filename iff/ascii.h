#pragma once
// Letter case as Windows file and registry names ignore it: ASCII letters only.

#include <string>
#include <string_view>

namespace adultify {

[[nodiscard]] inline std::string AsciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return out;
}

} // namespace adultify
