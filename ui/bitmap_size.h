#pragma once
// The size of a Windows bitmap file, read from its headers alone, with the picture loader's
// own verdict: a file the editor's picture boxes refuse gives nothing here either, so that
// every window layer shows and refuses the same bitmaps.

#include <cstdint>
#include <optional>
#include <span>

namespace adultify {

struct BitmapSize {
    int width = 0;
    int height = 0; // rows, also for a top-down file (stored negative)
    friend bool operator==(const BitmapSize&, const BitmapSize&) = default;
};

// Nothing for what is not a "BM" file the loader accepts: a header that does not fit, an
// unsupported depth or compression, no pixel rows at all, a truncated colour table or
// run-length stream, or a picture too large to hold in memory.
[[nodiscard]] std::optional<BitmapSize> ReadBitmapSize(std::span<const std::uint8_t> file);

// The little-endian numbers a bitmap's headers hold, at byte `at` of the file.
[[nodiscard]] std::uint32_t BmpU32(std::span<const std::uint8_t> file, std::size_t at);
[[nodiscard]] unsigned BmpU16(std::span<const std::uint8_t> file, std::size_t at);

} // namespace adultify
