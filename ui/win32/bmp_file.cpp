#include "ui/win32/bmp_file.h"

#include <cstdlib>

namespace adultify::win32 {

namespace {

std::uint32_t U32(BitmapBytes b, std::size_t at) {
    return static_cast<std::uint32_t>(b[at]) | static_cast<std::uint32_t>(b[at + 1]) << 8 |
           static_cast<std::uint32_t>(b[at + 2]) << 16 |
           static_cast<std::uint32_t>(b[at + 3]) << 24;
}
std::uint16_t U16(BitmapBytes b, std::size_t at) {
    return static_cast<std::uint16_t>(b[at] | b[at + 1] << 8);
}

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;
constexpr std::size_t kFileHeader = 14;
constexpr std::int64_t kMaxSide = 32768;

} // namespace

std::optional<BmpFile> ReadBmpFile(BitmapBytes file) {
    if (file.size() < kFileHeader + 40 || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    const std::size_t bitsOffset = U32(file, 10);
    const std::size_t headerSize = U32(file, kFileHeader);
    // BITMAPINFOHEADER and its V2 to V5 successors; the old OS/2 header is not drawn.
    if (headerSize < 40 || headerSize > 124 || kFileHeader + headerSize > file.size())
        return std::nullopt;
    const auto width = static_cast<std::int32_t>(U32(file, 18));
    const auto height = static_cast<std::int32_t>(U32(file, 22));
    const unsigned planes = U16(file, 26);
    const unsigned bits = U16(file, 28);
    const std::uint32_t compression = U32(file, 30);
    const std::uint32_t coloursUsed = U32(file, 46);
    if (width <= 0 || width > kMaxSide || height == 0 ||
        std::abs(std::int64_t{height}) > kMaxSide || planes != 1)
        return std::nullopt;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return std::nullopt;
    const bool rle = compression == kRle8 || compression == kRle4;
    if (compression == kRle8 && bits != 8) return std::nullopt;
    if (compression == kRle4 && bits != 4) return std::nullopt;
    if (compression == kBitFields && bits != 16 && bits != 32) return std::nullopt;
    if (compression > kBitFields || (rle && height < 0)) return std::nullopt;

    std::size_t table = 0;
    if (bits <= 8) table = 4 * (coloursUsed != 0 ? coloursUsed : 1u << bits);
    if (bits <= 8 && coloursUsed > (1u << bits)) return std::nullopt;
    if (compression == kBitFields && headerSize == 40) table = 12; // the three masks
    if (bitsOffset < kFileHeader + headerSize + table || bitsOffset >= file.size())
        return std::nullopt;
    const std::size_t rows = static_cast<std::size_t>(std::abs(std::int64_t{height}));
    const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
    if (!rle && stride * rows > file.size() - bitsOffset) return std::nullopt;
    // Drawing reads as many compressed bytes as the header names.
    const std::size_t packed = U32(file, 34);
    if (rle && (packed == 0 || packed > file.size() - bitsOffset)) return std::nullopt;

    BmpFile bmp;
    bmp.bytes.assign(file.begin(), file.end());
    bmp.bitsOffset = bitsOffset;
    bmp.width = width;
    bmp.height = static_cast<int>(rows);
    return bmp;
}

} // namespace adultify::win32
