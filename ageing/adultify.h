#pragma once
// The main command: the selected child grows up, in the neighbourhood and in its
// character file. Both files change, or neither.

#include "core/module1.h"

#include <array>
#include <string_view>

namespace adultify {

// The command for the resident selected in List1: it grows up and is shown again, selected.
void Adultify_Command1_Click(Module1& m);
// The title of the notice that ends a command which grew the child up.
inline constexpr std::string_view kGrownUpTitle = "Completed";

// The whole command for List1's line `line`, the one path every way of growing a child up
// takes: its questions first (another run, files changed on disk, the game running), then the
// work, logged in List2, whose last line and the status line say when nothing was saved. True
// when the resident grew up; List1 is then read again, without a selection.
[[nodiscard]] bool GrowUpResident(Module1& m, int line);

// Five trait counters (Nice, Active, Playful, Outgoing, Neat), 0 to 10 each, summing to 30.
[[nodiscard]] std::array<int, 5> DrawPersonality(Module1& m);

// What the byte shift does to a character file image, or why it cannot be done.
struct BodyStringEdit {
    bool ok = false;
    std::string problem; // when !ok
    bool fatal = false;  // the chunk's position and size give no end at all
};
// Rewrites the age word "child" to "adult" and the first "9" entry to "27" inside the
// body-string table, shifting the bytes after it one place toward the chunk's end.
[[nodiscard]] BodyStringEdit EditBodyStrings(Bytes& character);

} // namespace adultify
