#pragma once
// What a window reports to the program; the program's handlers are named by control and event.

#include <cstdint>

namespace adultify {

enum class UiEvent : std::uint8_t { Click, Change, MouseMove, KeyPress, Close };

using EventMask = std::uint8_t;
inline constexpr EventMask kClick = 1, kChange = 2, kMouseMove = 4, kKeyPress = 8, kClose = 16;

[[nodiscard]] constexpr EventMask MaskOf(UiEvent e) {
    return static_cast<EventMask>(1u << static_cast<unsigned>(e));
}

} // namespace adultify
