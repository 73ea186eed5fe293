// The bitmap size reader's boundaries, where no QImage is at hand to compare with.
#include "tests/support/bitmap_variants.h"
#include "ui/bitmap_size.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

using test::BmpBytes;
using test::BmpShape;

BmpBytes With(BmpBytes b, std::size_t at, std::uint32_t value) {
    for (std::size_t i = 0; i < 4 && at + i < b.size(); ++i)
        b[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
    return b;
}

TEST(BitmapSize, TheGamesPicturesAndTopDownRows) {
    EXPECT_EQ(ReadBitmapSize(test::MakeBmp({})), (BitmapSize{25, 25}));
    BmpShape faces;
    faces.width = 105;
    faces.height = 41;
    EXPECT_EQ(ReadBitmapSize(test::MakeBmp(faces)), (BitmapSize{105, 41}));
    faces.height = -41;
    EXPECT_EQ(ReadBitmapSize(test::MakeBmp(faces)), (BitmapSize{105, 41}));
    BmpShape old;
    old.infoSize = 12;
    old.bits = 8;
    old.width = 3;
    old.height = 2;
    EXPECT_EQ(ReadBitmapSize(test::MakeBmp(old)), (BitmapSize{3, 2}));
}

TEST(BitmapSize, HeadersThatDoNotFitOrSayNothing) {
    const BmpBytes good = test::MakeBmp({});
    const std::size_t headers = 14 + 40;
    for (std::size_t n = 0; n <= headers; ++n)
        EXPECT_FALSE(ReadBitmapSize(BmpBytes(good.begin(), good.begin() + static_cast<long>(n))))
            << n << " bytes";
    // One pixel byte after the headers is enough: missing rows are left blank.
    EXPECT_TRUE(ReadBitmapSize(BmpBytes(good.begin(), good.begin() + headers + 1)));
    BmpBytes magic = good;
    magic[1] = 'N';
    EXPECT_FALSE(ReadBitmapSize(magic));
    EXPECT_FALSE(ReadBitmapSize(With(good, 18, 0)));          // no columns
    EXPECT_FALSE(ReadBitmapSize(With(good, 22, 0)));          // no rows
    EXPECT_FALSE(ReadBitmapSize(With(good, 18, 0xffffffff))); // negative width
    EXPECT_FALSE(ReadBitmapSize(With(good, 22, 0x80000000)));
}

TEST(BitmapSize, DepthsAndCompressions) {
    for (int bits : {0, 2, 15, 48}) {
        BmpShape s;
        s.bits = bits;
        EXPECT_FALSE(ReadBitmapSize(test::MakeBmp(s))) << bits << " bits";
    }
    const struct {
        int bits, compression;
        bool accepted;
    } table[] = {{8, 1, true},   {4, 2, true},  {16, 3, true}, {32, 3, true},
                 {24, 3, false}, {8, 2, false}, {4, 1, false}, {24, 1, false}};
    for (const auto& row : table) {
        BmpShape s;
        s.bits = row.bits;
        s.compression = row.compression;
        EXPECT_EQ(ReadBitmapSize(test::MakeBmp(s)).has_value(), row.accepted)
            << row.bits << " bits, compression " << row.compression;
    }
}

TEST(BitmapSize, ColourTables) {
    BmpShape s;
    s.bits = 8;
    const BmpBytes good = test::MakeBmp(s);
    EXPECT_TRUE(ReadBitmapSize(With(good, 46, 256)));
    EXPECT_FALSE(ReadBitmapSize(With(good, 46, 257)));
    EXPECT_FALSE(ReadBitmapSize(With(good, 46, 0xffffffff)));
    // The table must be whole and followed by at least one byte.
    const std::size_t tableEnd = 14 + 40 + 256 * 4;
    EXPECT_FALSE(ReadBitmapSize(BmpBytes(good.begin(), good.begin() + tableEnd)));
    EXPECT_TRUE(ReadBitmapSize(BmpBytes(good.begin(), good.begin() + tableEnd + 1)));
}

TEST(BitmapSize, HugePictures) {
    const struct {
        std::uint32_t width, height;
        int bits;
        bool accepted;
    } table[] = {
        // The memory limit: 128 MB at four bytes a pixel, whatever the depth.
        {8192, 4096, 1, true},    {8192, 4097, 1, false}, {16384, 2048, 8, true},
        {16384, 2049, 8, false},  {8192, 4096, 24, true}, {8192, 4097, 24, false},
        {16384, 16385, 1, false},
    };
    for (const auto& row : table) {
        BmpShape s;
        s.bits = row.bits;
        s.width = 2;
        s.height = 2;
        const BmpBytes b = With(With(test::MakeBmp(s), 18, row.width), 22, row.height);
        EXPECT_EQ(ReadBitmapSize(b).has_value(), row.accepted)
            << row.width << "x" << row.height << " at " << row.bits << " bits";
    }
}

TEST(BitmapSize, RunLengthLiteralsCutShort) {
    BmpShape s;
    s.bits = 8;
    s.compression = 1;
    s.width = 7;
    s.height = 1;
    BmpBytes b = test::MakeBmp(s);
    EXPECT_EQ(ReadBitmapSize(b), (BitmapSize{7, 1}));
    // Rows: a run of 4, then "0 3" and three literal bytes: cut inside the literals.
    const std::size_t literals = 14 + 40 + 1024 + 4;
    EXPECT_FALSE(ReadBitmapSize(BmpBytes(b.begin(), b.begin() + literals + 1)));
    EXPECT_TRUE(ReadBitmapSize(BmpBytes(b.begin(), b.begin() + literals - 1)));
}

} // namespace
} // namespace adultify
