#include "core/utilities.h"

#include <algorithm>
#include <cctype>

namespace adultify {

VbBool FileExists(Module1& m, const std::string& path) {
    return m.fs.CanOpenForReading(path) ? kTrue : kFalse;
}

void WaitSeconds(Module1& m, double seconds) {
    constexpr double kDay = 86400.0;
    constexpr double kTurn = 0.005; // short enough that a wait ends on time
    const double start = m.clock.TimeOfDay();
    double elapsed = 0;
    for (;;) {
        m.ui.IdleTurn();
        m.clock.Pause(std::min(kTurn, seconds - elapsed));
        elapsed = m.clock.TimeOfDay() - start;
        if (elapsed < 0) elapsed += kDay; // the clock starts again at midnight
        if (elapsed > seconds) return;
    }
}

void EndProgramNow(Module1& m, int exitCode) {
    m.game.gameLock.reset(); // as the end of the process would
    m.ui.EndProgram(exitCode);
    throw ProgramEnd{exitCode};
}

std::string WithSignPosition(long long n) {
    // Appended, not prefixed: GCC 12 at -O3 takes the prefixing insert for an overlapping copy.
    std::string text = n < 0 ? std::string() : std::string(" ");
    text += std::to_string(n);
    return text;
}

long long LeadingNumber(std::string_view text) {
    constexpr long long kNoMoreDigits = 1'000'000'000'000LL; // far beyond any value shown
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    long long value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] == ' ') continue; // the leading-number rule skips blanks between digits too
        if (!std::isdigit(static_cast<unsigned char>(text[i]))) break;
        if (value < kNoMoreDigits) value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

} // namespace adultify
