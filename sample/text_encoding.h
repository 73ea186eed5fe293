#pragma once
// Names as the game writes them: in the system's 8-bit code page.

#include <string>
#include <string_view>

namespace adultify::sample {

// UTF-8 text in Windows code page `codePage`. 1252 goes through the program's own table (a
// character it lacks becomes '?'); any other throws for a character it lacks, so that a test
// never runs on silently changed names.
[[nodiscard]] std::string EncodeText(std::string_view utf8, int codePage);

} // namespace adultify::sample
