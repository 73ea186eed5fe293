#include "ui/bitmap_size.h"

#include <cstdlib>

namespace adultify {

namespace {

constexpr std::int64_t kFileHeaderBytes = 14;
// Info header sizes: Windows 3, OS/2 2, Windows 4 and 5; any other is read as the old
// 12-byte header with 16-bit sizes.
constexpr std::int32_t kOldInfo = 12, kWinInfo = 40, kOs2Info = 64, kWin4Info = 108,
                       kWin5Info = 124;
constexpr std::int32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;
// The loader's limits: pixels in all, and memory, counted at four bytes a pixel whatever the
// file's depth.
constexpr std::uint64_t kMostPixels = 16384ULL * 16384ULL;
constexpr std::uint64_t kMostImageBytes = 128ULL << 20;
constexpr std::uint64_t kBytesPerPixel = 4;

std::uint32_t U32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::uint32_t>(d[at]) | static_cast<std::uint32_t>(d[at + 1]) << 8 |
           static_cast<std::uint32_t>(d[at + 2]) << 16 |
           static_cast<std::uint32_t>(d[at + 3]) << 24;
}
std::int32_t I32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::int32_t>(U32(d, at));
}
std::int16_t I16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::int16_t>(d[at] | d[at + 1] << 8);
}

// A read position that behaves as the loader's in-memory device does: a short read stops at
// the end, a seek outside the data is ignored.
class Cursor {
  public:
    explicit Cursor(std::span<const std::uint8_t> d) : size_(static_cast<std::int64_t>(d.size())) {}
    [[nodiscard]] std::int64_t Position() const { return pos_; }
    [[nodiscard]] bool AtEnd() const { return pos_ >= size_; }
    void Seek(std::int64_t to) {
        if (to >= 0 && to <= size_) pos_ = to;
    }
    // False, at the end, when fewer than n bytes are left.
    bool Skip(std::int64_t n) {
        if (size_ - pos_ < n) {
            pos_ = size_;
            return false;
        }
        pos_ += n;
        return true;
    }
    void SetPosition(std::int64_t to) { pos_ = to; }

  private:
    std::int64_t size_;
    std::int64_t pos_ = 0;
};

struct InfoHeader {
    std::int32_t size = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::int32_t planes = 0;
    std::int32_t bits = 0;
    std::int32_t compression = kRgb;
    std::int32_t coloursUsed = 0;
    std::int64_t bytes = 0; // what the loader reads of it
};

std::optional<InfoHeader> ReadInfoHeader(std::span<const std::uint8_t> d) {
    const std::int64_t left = static_cast<std::int64_t>(d.size()) - kFileHeaderBytes;
    if (left < 4) return std::nullopt;
    InfoHeader h;
    h.size = I32(d, 14);
    if (h.size == kWinInfo || h.size == kOs2Info || h.size == kWin4Info || h.size == kWin5Info) {
        h.bytes = h.size >= kWin4Info ? h.size : kWinInfo;
        if (left < h.bytes) return std::nullopt;
        h.width = I32(d, 18);
        h.height = I32(d, 22);
        h.planes = I16(d, 26);
        h.bits = I16(d, 28);
        h.compression = I32(d, 30);
        h.coloursUsed = I32(d, 46);
    } else {
        h.bytes = 12;
        if (left < h.bytes) return std::nullopt;
        h.width = I16(d, 18);
        h.height = I16(d, 20);
        h.planes = I16(d, 22);
        h.bits = I16(d, 24);
    }
    return h;
}

bool Supported(const InfoHeader& h) {
    const int n = h.bits;
    const int c = h.compression;
    if (!(n == 1 || n == 4 || n == 8 || n == 16 || n == 24 || n == 32) || h.planes != 1)
        return false;
    if (!(c == kRgb || (n == 4 && c == kRle4) || (n == 8 && c == kRle8) ||
          ((n == 16 || n == 32) && c == kBitFields)))
        return false;
    if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN) return false;
    const auto rows = static_cast<std::uint64_t>(std::llabs(h.height));
    return static_cast<std::uint64_t>(h.width) * rows <= kMostPixels;
}

// The loader refuses an 8-bit run-length stream only where a literal run is cut short; runs
// are clipped to the first row it decodes, as the loader clips them.
bool Rle8Complete(std::span<const std::uint8_t> d, Cursor& at, std::int64_t width,
                  std::int64_t rows) {
    const std::int64_t stride = (width + 3) & ~std::int64_t{3};
    auto next = [&]() -> int {
        if (at.AtEnd()) return -1;
        const int b = d[static_cast<std::size_t>(at.Position())];
        at.SetPosition(at.Position() + 1);
        return b;
    };
    std::int64_t x = 0, y = 0;
    std::int64_t p = (rows - 1) * stride;
    const std::int64_t end = p + width;
    while (y < rows) {
        const int b = next();
        if (b < 0) break;
        if (b != 0) { // a run of one value
            (void)next();
            const std::int64_t n = p + b > end ? end - p : b;
            x += n;
            p += n;
            continue;
        }
        const int escape = next();
        if (escape < 0 || escape == 1) break; // end of picture
        if (escape == 0) {                    // end of row
            x = 0;
            ++y;
            p = (rows - y - 1) * stride;
        } else if (escape == 2) { // a jump
            const int dx = next();
            const int dy = next();
            if (dy < 0) break; // the data ended inside the jump
            x += dx;
            y += dy;
            if (x >= width) x = width - 1;
            if (y >= rows) y = rows - 1;
            p = (rows - y - 1) * stride + x;
        } else { // literal bytes, padded to an even count
            const std::int64_t n = p + escape > end ? end - p : escape;
            if (!at.Skip(n)) return false;
            if (n & 1) (void)next();
            x += n;
            p += n;
        }
    }
    return true;
}

} // namespace

std::optional<BitmapSize> ReadBitmapSize(std::span<const std::uint8_t> file) {
    if (file.size() < kFileHeaderBytes || file[0] != 'B' || file[1] != 'M') return std::nullopt;
    const std::int32_t pixelOffset = I32(file, 10);
    const auto info = ReadInfoHeader(file);
    if (!info || !Supported(*info)) return std::nullopt;

    Cursor at(file);
    at.SetPosition(kFileHeaderBytes + info->bytes);
    if (at.AtEnd()) return std::nullopt; // headers only
    at.Seek(kFileHeaderBytes + info->size);
    const bool bitFields = info->compression == kBitFields;
    if (info->size < kWin4Info && bitFields && (info->bits == 16 || info->bits == 32) &&
        !at.Skip(12))
        return std::nullopt; // the three colour masks

    const int depth = info->bits >= 16 ? 32 : info->bits >= 4 ? 8 : 1;
    int colours = 0;
    if (depth != 32) {
        colours = info->coloursUsed != 0 ? info->coloursUsed : 1 << info->bits;
        if (colours < 1 || colours > 256) return std::nullopt;
    }
    const auto rows = static_cast<std::uint64_t>(std::llabs(info->height));
    if (static_cast<std::uint64_t>(info->width) * rows * kBytesPerPixel > kMostImageBytes)
        return std::nullopt;

    // Every colour entry whole, and at least one byte after the table.
    const std::int64_t entry = info->size == kOldInfo ? 3 : 4;
    if (colours > 0 && (!at.Skip(colours * entry) || at.AtEnd())) return std::nullopt;

    if (pixelOffset >= 0 && pixelOffset > at.Position()) at.Seek(pixelOffset);
    if (info->bits == 8 && info->compression == kRle8 &&
        !Rle8Complete(file, at, info->width, static_cast<std::int64_t>(rows)))
        return std::nullopt;
    return BitmapSize{info->width, static_cast<int>(rows)};
}

} // namespace adultify
