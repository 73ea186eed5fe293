#pragma once
// The pictures a character file holds: complete 24-bit Windows bitmaps whose file-size
// field is 0, as the game writes them.

#include "iff/byte_string.h"

#include <cstdint>
#include <functional>

namespace adultify::sample {

struct Colour {
    std::uint8_t r, g, b;
};

[[nodiscard]] Bytes Bitmap24(int width, int height,
                             const std::function<Colour(int x, int y)>& pixel);
// A 25 by 25 head on a pale background.
[[nodiscard]] Bytes ThumbnailBitmap(Colour skin, Colour hair);
// 105 by 41: three 35 by 41 views of the head side by side on blue.
[[nodiscard]] Bytes FacesBitmap(Colour skin, Colour hair);

} // namespace adultify::sample
