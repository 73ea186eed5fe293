#pragma once
// A .bmp file held in memory and drawn straight from its bytes: the header is checked as far
// as drawing needs, so that a cut or foreign file is refused rather than drawn from garbage.

#include "ui/window_system.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace adultify::win32 {

struct BmpFile {
    std::vector<std::uint8_t> bytes; // the whole file
    std::size_t infoOffset = 14;     // BITMAPINFO: the header, then the colour table
    std::size_t bitsOffset = 0;      // the first pixel row
    int width = 0, height = 0;       // height positive whatever the row order
};

// Nothing when the bytes are not an uncompressed or RLE bitmap with all its pixels present.
[[nodiscard]] std::optional<BmpFile> ReadBmpFile(BitmapBytes file);

} // namespace adultify::win32
