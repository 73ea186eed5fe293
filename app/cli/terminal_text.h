#pragma once
// Texts from the game's files as the front end writes them: a name can hold any byte, and a
// terminal takes some of them as commands, a script takes a tab or a line feed as the end of
// a field or a line.

#include <string>
#include <string_view>

namespace adultify {

// UTF-8 `text` with a line feed as the two characters "\n", every other control character
// (C0, DEL) as "\x1b" and every C1 control as "\u009b"; all else unchanged.
[[nodiscard]] std::string TerminalText(std::string_view text);
// The same, added to the end of `out`: a list's lines are built without a string per field.
void AppendTerminalText(std::string& out, std::string_view text);

} // namespace adultify
