#include "ui/bitmap_size.h"

#include <algorithm>
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

std::int32_t I32(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::int32_t>(BmpU32(d, at));
}
std::int16_t I16(std::span<const std::uint8_t> d, std::size_t at) {
    return static_cast<std::int16_t>(BmpU16(d, at));
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

// Where the loader writes the next pixel of an 8-bit run-length stream. Runs are clipped
// against the end of the first row it decodes, as the loader clips them.
class Rle8Position {
  public:
    Rle8Position(std::int64_t width, std::int64_t rows)
        : width_(width), rows_(rows), stride_((width + 3) & ~std::int64_t{3}),
          p_((rows - 1) * stride_), end_(p_ + width) {}

    [[nodiscard]] bool InPicture() const { return y_ < rows_; }
    [[nodiscard]] std::int64_t Clipped(int count) const {
        return p_ + count > end_ ? end_ - p_ : count;
    }
    void Advance(std::int64_t n) {
        x_ += n;
        p_ += n;
    }
    void NextRow() {
        x_ = 0;
        ++y_;
        p_ = (rows_ - y_ - 1) * stride_;
    }
    void Jump(int dx, int dy) {
        x_ = std::min(x_ + dx, width_ - 1);
        y_ = std::min(y_ + dy, rows_ - 1);
        p_ = (rows_ - y_ - 1) * stride_ + x_;
    }

  private:
    std::int64_t width_, rows_, stride_;
    std::int64_t x_ = 0, y_ = 0, p_, end_;
};

// The loader refuses an 8-bit run-length stream only where a literal stretch is cut short.
bool Rle8Complete(std::span<const std::uint8_t> d, Cursor& at, std::int64_t width,
                  std::int64_t rows) {
    auto next = [&]() -> int {
        if (at.AtEnd()) return -1;
        const int b = d[static_cast<std::size_t>(at.Position())];
        at.SetPosition(at.Position() + 1);
        return b;
    };
    Rle8Position pixel(width, rows);
    while (pixel.InPicture()) {
        const int b = next();
        if (b < 0) break;
        if (b != 0) { // a run of one value
            (void)next();
            pixel.Advance(pixel.Clipped(b));
            continue;
        }
        const int escape = next();
        if (escape < 0 || escape == 1) break; // end of picture
        if (escape == 0) {
            pixel.NextRow();
        } else if (escape == 2) {
            const int dx = next();
            const int dy = next();
            if (dy < 0) break; // the data ended inside the jump
            pixel.Jump(dx, dy);
        } else { // literal bytes, padded to an even count
            const std::int64_t n = pixel.Clipped(escape);
            if (!at.Skip(n)) return false;
            if (n & 1) (void)next();
            pixel.Advance(n);
        }
    }
    return true;
}

// The colour table's entries; -1 for no table (above 8 bits), 0 for a count out of range.
int ColourCount(const InfoHeader& info) {
    if (info.bits > 8) return -1;
    const int colours = info.coloursUsed != 0 ? info.coloursUsed : 1 << info.bits;
    return colours >= 1 && colours <= 256 ? colours : 0;
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

    const int colours = ColourCount(*info);
    if (colours == 0) return std::nullopt;
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

std::uint32_t BmpU32(std::span<const std::uint8_t> file, std::size_t at) {
    return static_cast<std::uint32_t>(file[at]) | static_cast<std::uint32_t>(file[at + 1]) << 8 |
           static_cast<std::uint32_t>(file[at + 2]) << 16 |
           static_cast<std::uint32_t>(file[at + 3]) << 24;
}

unsigned BmpU16(std::span<const std::uint8_t> file, std::size_t at) {
    return static_cast<unsigned>(file[at] | file[at + 1] << 8);
}

} // namespace adultify
