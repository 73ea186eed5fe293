#pragma once
// Windows bitmap files of every depth and header kind the picture loaders meet, and damaged
// copies of them, built in code.

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace adultify::test {

using BmpBytes = std::vector<std::uint8_t>;

struct BmpShape {
    int width = 25;
    int height = 25; // negative: rows stored top-down
    int bits = 24;
    int compression = 0; // 0 none, 1 RLE8, 2 RLE4, 3 bit fields
    std::int32_t infoSize = 40;
    std::int32_t coloursUsed = 0;
    std::int32_t pixelOffset = -1; // -1: right after the headers and colour table
};

inline void PutLe(BmpBytes& out, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}

// An 8-bit run-length stream: per row a run, a literal stretch, the end of the row.
inline BmpBytes Rle8Rows(int width, int rows) {
    BmpBytes out;
    for (int y = 0; y < rows; ++y) {
        const int literal = width >= 6 ? 3 : 0;
        const int run = width - literal;
        if (run > 0) out.insert(out.end(), {static_cast<std::uint8_t>(run), 7});
        if (literal > 0) out.insert(out.end(), {0, 3, 1, 2, 3, 0});
        out.insert(out.end(), {0, 0});
    }
    out.insert(out.end(), {0, 1});
    return out;
}

inline BmpBytes Rle4Rows(int width, int rows) {
    BmpBytes out;
    for (int y = 0; y < rows; ++y)
        out.insert(out.end(), {static_cast<std::uint8_t>(width), 0x12, 0, 0});
    out.insert(out.end(), {0, 1});
    return out;
}

inline BmpBytes MakeBmp(const BmpShape& s) {
    const int rows = s.height < 0 ? -s.height : s.height;
    const bool old = s.infoSize == 12;
    const int colours = s.bits <= 8 ? (s.coloursUsed != 0 ? s.coloursUsed : 1 << s.bits) : 0;
    const int entry = old ? 3 : 4;
    const int masks = (s.compression == 3 && s.infoSize == 40) ? 12 : 0;
    const int header = 14 + s.infoSize + masks + (colours > 0 ? colours * entry : 0);
    BmpBytes pixels;
    if (s.compression == 1) {
        pixels = Rle8Rows(s.width, rows);
    } else if (s.compression == 2) {
        pixels = Rle4Rows(s.width, rows);
    } else {
        const int stride = (s.width * s.bits + 31) / 32 * 4;
        for (int y = 0; y < rows; ++y)
            for (int i = 0; i < stride; ++i)
                pixels.push_back(static_cast<std::uint8_t>(y * 31 + i * 7));
    }
    BmpBytes out{'B', 'M'};
    PutLe(out, 0, 4); // the game leaves the file size 0
    PutLe(out, 0, 4);
    PutLe(out, static_cast<std::uint32_t>(s.pixelOffset >= 0 ? s.pixelOffset : header), 4);
    PutLe(out, static_cast<std::uint32_t>(s.infoSize), 4);
    if (old) {
        PutLe(out, static_cast<std::uint16_t>(s.width), 2);
        PutLe(out, static_cast<std::uint16_t>(s.height), 2);
        PutLe(out, 1, 2);
        PutLe(out, static_cast<std::uint16_t>(s.bits), 2);
    } else {
        PutLe(out, static_cast<std::uint32_t>(s.width), 4);
        PutLe(out, static_cast<std::uint32_t>(s.height), 4);
        PutLe(out, 1, 2);
        PutLe(out, static_cast<std::uint16_t>(s.bits), 2);
        PutLe(out, static_cast<std::uint32_t>(s.compression), 4);
        PutLe(out, pixels.size(), 4);
        PutLe(out, 2835, 4);
        PutLe(out, 2835, 4);
        PutLe(out, static_cast<std::uint32_t>(s.coloursUsed), 4);
        PutLe(out, 0, 4);
        const std::uint32_t v4Masks[] = {0x00ff0000, 0x0000ff00, 0x000000ff, 0xff000000};
        for (int i = 0; 40 + 4 * i < s.infoSize; ++i)
            PutLe(out, i < 4 ? v4Masks[i] : 0, 4); // masks, colour space, gamma, profile
    }
    if (masks > 0)
        for (std::uint32_t m : {0xf800u, 0x07e0u, 0x001fu})
            PutLe(out, s.bits == 32 ? m << 8 : m, 4);
    for (int i = 0; i < colours; ++i)
        for (int k = 0; k < entry; ++k)
            out.push_back(static_cast<std::uint8_t>(i * (k + 1)));
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

// Whole bitmaps of every depth, compression, header kind and row order.
inline std::vector<BmpShape> BmpShapes() {
    std::vector<BmpShape> shapes;
    const int sizes[][2] = {{1, 1}, {25, 25}, {105, 41}, {3, 7}, {6, 2}, {33, 1}};
    for (int bits : {1, 4, 8, 16, 24, 32})
        for (const auto& wh : sizes)
            for (int sign : {1, -1})
                for (std::int32_t info : {12, 40, 64, 108, 124}) {
                    BmpShape s;
                    s.width = wh[0];
                    s.height = sign * wh[1];
                    s.bits = bits;
                    s.infoSize = info;
                    shapes.push_back(s);
                    if (info == 12) continue;
                    const int packed = bits == 8                  ? 1
                                       : bits == 4                ? 2
                                       : bits >= 16 && bits != 24 ? 3
                                                                  : 0;
                    if (packed != 0) {
                        s.compression = packed;
                        shapes.push_back(s);
                    }
                }
    return shapes;
}

// Damaged and odd copies: every truncation of the headers, wrong magic, sizes, depths,
// compressions, colour counts and offsets, and random bytes over the headers.
inline std::vector<BmpBytes> BmpMutations(const BmpBytes& good, std::uint32_t seed) {
    std::vector<BmpBytes> out;
    // Every cut inside the headers and masks, then cuts through the colour table and rows.
    const std::size_t headers = std::min<std::size_t>(good.size(), 14 + 124 + 16);
    std::vector<std::size_t> cuts;
    for (std::size_t n = 0; n <= headers; ++n)
        cuts.push_back(n);
    for (std::size_t n = headers + 1; n < good.size(); n += 1 + (n % 61))
        cuts.push_back(n);
    for (std::size_t n : cuts)
        out.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
    auto with = [&](std::size_t at, std::uint64_t value, int bytes) {
        if (at + static_cast<std::size_t>(bytes) > good.size()) return;
        BmpBytes b = good;
        for (int i = 0; i < bytes; ++i)
            b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(value >> (8 * i));
        out.push_back(std::move(b));
    };
    for (std::uint64_t magic : {0x4d42u /* MB */, 0x4e42u, 0u, 0x4d62u})
        with(0, magic, 2);
    for (std::uint64_t offset : {0ULL, 13ULL, 54ULL, 0x7fffffffULL, 0xffffffffULL, 100000ULL})
        with(10, offset, 4);
    for (std::uint64_t info : {0ULL, 12ULL, 39ULL, 41ULL, 56ULL, 64ULL, 108ULL, 124ULL, 200ULL,
                               0xffffffffULL, 0x7fffffffULL})
        with(14, info, 4);
    const std::uint64_t dimensions[] = {0,          1,          2,          300,
                                        0xffffffff, 0x80000000, 0x7fffffff, 0xffffc000};
    for (std::uint64_t v : dimensions) {
        with(18, v, 4);
        with(22, v, 4);
    }
    for (std::uint64_t planes : {0, 2})
        with(26, planes, 2);
    for (std::uint64_t bits : {0, 1, 2, 4, 8, 15, 16, 24, 32, 48, 64})
        with(28, bits, 2);
    for (std::uint64_t comp : {0ULL, 1ULL, 2ULL, 3ULL, 4ULL, 5ULL, 6ULL, 0xffffffffULL})
        with(30, comp, 4);
    for (std::uint64_t used : {0ULL, 1ULL, 2ULL, 16ULL, 255ULL, 256ULL, 257ULL, 0xffffffffULL})
        with(46, used, 4);
    std::mt19937 random(seed);
    for (int k = 0; k < 60 && good.size() > 2; ++k) {
        BmpBytes b = good;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int f = 0; f < flips; ++f) {
            const std::size_t at = 2 + random() % (std::min<std::size_t>(b.size(), 80) - 2);
            // Large sizes are the huge variants' concern: each costs a large picture.
            if (at == 20 || at == 21 || at == 24 || at == 25) continue;
            b[at] = static_cast<std::uint8_t>(random());
        }
        out.push_back(std::move(b));
    }
    return out;
}

// The same bitmap claiming sizes around the loader's limits on pixels and memory.
inline std::vector<BmpBytes> BmpHugeVariants(const BmpBytes& good) {
    std::vector<BmpBytes> out;
    const std::uint64_t big[][2] = {{16384, 16384}, {16384, 16385}, {16384, 2048}, {16384, 2049},
                                    {8192, 4096},   {8192, 4097},   {5793, 5793},  {4096, 8192},
                                    {65536, 4096},  {268435456, 1}, {1, 268435457}};
    for (const auto& wh : big) {
        BmpBytes b = good;
        for (int i = 0; i < 4; ++i) {
            b[18 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(wh[0] >> (8 * i));
            b[22 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(wh[1] >> (8 * i));
        }
        out.push_back(std::move(b));
    }
    return out;
}

} // namespace adultify::test
