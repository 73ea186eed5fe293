#include "ui/win32/bmp_file.h"

#include "ui/bitmap_size.h"

#include <algorithm>

namespace adultify::win32 {

namespace {

void Put32(std::vector<std::uint8_t>& b, std::size_t at, std::size_t value) {
    for (int i = 0; i < 4; ++i)
        b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
}

constexpr std::size_t kFileHeader = 14, kCoreInfo = 12, kWinInfo = 40, kOs2Info = 64,
                      kWin4Info = 108, kWin5Info = 124;
constexpr std::uint32_t kRle8 = 1, kRle4 = 2, kBitFields = 3;

// An OS/2 2 header begins as Windows's does; GDI takes its first 40 bytes only. The loader
// reads those 40 alone: the rest may be missing from a file cut short.
void FromOs2Header(std::vector<std::uint8_t>& b, std::size_t& bitsOffset) {
    const std::size_t end = std::min(b.size(), kFileHeader + kOs2Info);
    b.erase(b.begin() + kFileHeader + kWinInfo, b.begin() + static_cast<std::ptrdiff_t>(end));
    Put32(b, kFileHeader, kWinInfo);
    bitsOffset = bitsOffset >= kOs2Info - kWinInfo ? bitsOffset - (kOs2Info - kWinInfo) : 0;
}

// Any other size is read as the old 12-byte header, as the loader does. GDI's own reading of
// that header is not to be trusted (Wine faults on it): it is rewritten as the Windows 3
// header, its colour table in four-byte entries.
void FromCoreHeader(std::vector<std::uint8_t>& b, std::size_t& bitsOffset) {
    const int width = static_cast<std::int16_t>(BmpU16(b, 18));
    const int height = static_cast<std::int16_t>(BmpU16(b, 20));
    const unsigned depth = BmpU16(b, 24);
    const std::size_t colours = depth <= 8 ? std::size_t{1} << depth : 0;
    std::vector<std::uint8_t> whole(kFileHeader + kWinInfo + 4 * colours, 0);
    std::copy_n(b.begin(), kFileHeader, whole.begin());
    Put32(whole, 10, whole.size());
    Put32(whole, kFileHeader, kWinInfo);
    Put32(whole, 18, static_cast<std::uint32_t>(width));
    Put32(whole, 22, static_cast<std::uint32_t>(height));
    whole[26] = 1;
    whole[28] = static_cast<std::uint8_t>(depth);
    for (std::size_t i = 0; i < colours; ++i)
        for (std::size_t c = 0; c < 3; ++c) {
            const std::size_t from = kFileHeader + kCoreInfo + 3 * i + c;
            if (from < b.size()) whole[kFileHeader + kWinInfo + 4 * i + c] = b[from];
        }
    if (bitsOffset < b.size())
        whole.insert(whole.end(), b.begin() + static_cast<std::ptrdiff_t>(bitsOffset), b.end());
    bitsOffset = kFileHeader + kWinInfo + 4 * colours;
    b = std::move(whole);
}

// The colour table and the pixels as long as GDI reads them.
void Complete(BmpFile& bmp, std::size_t header, std::size_t& bitsOffset) {
    std::vector<std::uint8_t>& b = bmp.bytes;
    const unsigned bits = BmpU16(b, 28);
    const std::uint32_t compression = BmpU32(b, 30);
    // The colour table (or the three masks) as GDI counts it, whole.
    std::size_t table = compression == kBitFields && header == kWinInfo ? 12 : 0;
    if (bits <= 8) table = 4 * (BmpU32(b, 46) != 0 ? BmpU32(b, 46) : std::size_t{1} << bits);
    if (b.size() < kFileHeader + header + table) b.resize(kFileHeader + header + table, 0);
    bitsOffset = std::clamp(bitsOffset, kFileHeader + header, b.size());
    if (compression == kRle8 || compression == kRle4) {
        // A stream cut short ends where it stops; GDI reads as many bytes as the header says.
        b.push_back(0);
        b.push_back(1);
        Put32(b, 34, b.size() - bitsOffset);
    } else {
        const std::size_t stride = (static_cast<std::size_t>(bmp.width) * bits + 31) / 32 * 4;
        const std::size_t whole = bitsOffset + stride * static_cast<std::size_t>(bmp.height);
        if (b.size() < whole) b.resize(whole, 0); // missing rows: black, as the loader shows
    }
}

} // namespace

std::optional<BmpFile> ReadBmpFile(BitmapBytes file) {
    const std::optional<BitmapSize> size = ReadBitmapSize(file);
    if (!size) return std::nullopt;
    BmpFile bmp;
    bmp.bytes.assign(file.begin(), file.end());
    bmp.width = size->width;
    bmp.height = size->height;
    std::size_t header = BmpU32(bmp.bytes, kFileHeader);
    std::size_t bitsOffset = BmpU32(bmp.bytes, 10);
    if (header == kOs2Info) {
        FromOs2Header(bmp.bytes, bitsOffset);
        header = kWinInfo;
    }
    if (header != kWinInfo && header != kWin4Info && header != kWin5Info) {
        FromCoreHeader(bmp.bytes, bitsOffset);
        header = kWinInfo;
    }
    Complete(bmp, header, bitsOffset);
    bmp.bitsOffset = bitsOffset;
    return bmp;
}

} // namespace adultify::win32
