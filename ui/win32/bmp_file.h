#pragma once
// A .bmp file held in memory and drawn straight from its bytes. Which files are accepted is the
// picture loader's rule (ui/bitmap_size.h), the same for every window layer; what GDI cannot
// take as it stands (an OS/2 header, pixel rows cut short) is made whole here first, so that
// drawing never reads past the file.

#include "ui/window_system.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace adultify::win32 {

struct BmpFile {
    std::vector<std::uint8_t> bytes; // the file, made whole for GDI
    std::size_t infoOffset = 14;     // BITMAPINFO: the header, then the colour table
    std::size_t bitsOffset = 0;      // the first pixel row
    int width = 0, height = 0;       // height positive whatever the row order
};

// Nothing for a file the picture loader refuses.
[[nodiscard]] std::optional<BmpFile> ReadBmpFile(BitmapBytes file);

} // namespace adultify::win32
