#pragma once
// The main command: the selected child grows up, in the neighbourhood and in its
// character file. Both files change, or neither.

#include "core/module1.h"

#include <array>
#include <string_view>

namespace adultify {

void Adultify_Command1_Click(Module1& m);
// The title of the notice that ends a command which grew the child up.
inline constexpr std::string_view kGrownUpTitle = "Completed";

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
