#pragma once
// A message's own line breaks hold in its box at every scale: the box is made wide enough for
// each line the text breaks by itself, so that no such line wraps mid-sentence. A line longer
// than kHeldLineLength characters (a path, say) still wraps, or the box would outgrow the screen.

#include <cstddef>
#include <string_view>
#include <vector>

namespace adultify {

inline constexpr std::size_t kHeldLineLength = 90;

// The lines of `text` that its box keeps whole; none for a text of one line, which the box
// wraps as it likes.
[[nodiscard]] std::vector<std::string_view> HeldLines(std::string_view text);

} // namespace adultify
