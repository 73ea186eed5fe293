#pragma once

#include "core/module1.h"

#include <string>
#include <string_view>

namespace adultify {

// True (-1) when the file can be opened for reading; never creates or keeps anything open.
[[nodiscard]] VbBool FileExists(Module1& m, const std::string& path);

// Waits while letting the windows run; a wait across midnight still lasts its full time.
void WaitSeconds(Module1& m, double seconds);

// Ends the program at once: windows close and the running handler unwinds.
[[noreturn]] void EndProgramNow(Module1& m, int exitCode);

inline constexpr int kExitFatal = 3;

// Decimal digits with one leading blank for a non-negative number (" 5"), as a
// signed-number-to-text conversion gives.
[[nodiscard]] std::string WithSignPosition(long long n);

// The leading number of a text, blanks ignored; 0 when it does not start with one.
[[nodiscard]] long long LeadingNumber(std::string_view text);

} // namespace adultify
