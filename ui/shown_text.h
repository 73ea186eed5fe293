#pragma once
// How a window shows a text that came from a save file.

#include <string>
#include <string_view>

namespace adultify {

// A control character (C0 but the line feed, DEL, C1) is shown as U+FFFD, the replacement glyph
// every font has, so that a name from a downloaded save can never move, hide or overprint the
// text around it. The layers keep the text as given: only what is drawn changes.
[[nodiscard]] bool HasControlCharacters(std::string_view utf8);
[[nodiscard]] std::string ShownText(std::string_view utf8);

} // namespace adultify
