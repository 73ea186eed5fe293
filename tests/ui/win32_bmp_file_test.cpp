// Every bitmap the picture loader accepts is drawn by GDI from a buffer that holds all it
// reads, whole or cut short, whatever its header; every other is refused.
#include "tests/support/bitmap_variants.h"
#include "ui/bitmap_size.h"
#include "ui/win32/bmp_file.h"

#include <gtest/gtest.h>
#include <windows.h>

namespace adultify {
namespace {

// What GDI reads of a file: its header, colour table and pixels lie inside the buffer.
void ExpectDrawable(const win32::BmpFile& bmp, const std::string& what) {
    const std::vector<std::uint8_t>& b = bmp.bytes;
    const std::size_t header = BmpU32(b, 14);
    ASSERT_TRUE(header == 12 || header == 40 || header == 108 || header == 124) << what;
    const bool core = header == 12;
    const unsigned bits = core ? BmpU16(b, 24) : BmpU16(b, 28);
    const std::uint32_t compression = core ? 0 : BmpU32(b, 30);
    std::size_t colours = 0;
    if (bits <= 8) colours = core || BmpU32(b, 46) == 0 ? (1u << bits) : BmpU32(b, 46);
    const std::size_t masks = compression == 3 && header == 40 ? 12 : 0;
    EXPECT_LE(14 + header + masks + colours * (core ? 3 : 4), b.size()) << what;
    ASSERT_LE(bmp.bitsOffset, b.size()) << what;
    if (compression == 1 || compression == 2) {
        EXPECT_EQ(BmpU32(b, 34), b.size() - bmp.bitsOffset) << what;
    } else {
        const std::size_t stride = (static_cast<std::size_t>(bmp.width) * bits + 31) / 32 * 4;
        EXPECT_LE(bmp.bitsOffset + stride * static_cast<std::size_t>(bmp.height), b.size()) << what;
    }
}

TEST(Win32BmpFile, AcceptsWhatTheLoaderAcceptsAndHoldsAllGdiReads) {
    // Each accepted file is drawn, as a picture box would: nothing GDI reads lies outside.
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP target = CreateBitmap(32, 32, 1, 32, nullptr);
    HGDIOBJ old = SelectObject(dc, target);
    int accepted = 0, refused = 0;
    std::uint32_t seed = 1;
    for (const test::BmpShape& shape : test::BmpShapes()) {
        const test::BmpBytes good = test::MakeBmp(shape);
        std::vector<test::BmpBytes> files = test::BmpMutations(good, seed++);
        files.insert(files.begin(), good);
        for (std::size_t i = 0; i < files.size(); ++i) {
            const std::string what = "shape " + std::to_string(shape.bits) + " bits, header " +
                                     std::to_string(shape.infoSize) + ", variant " +
                                     std::to_string(i);
            const std::optional<BitmapSize> loader = ReadBitmapSize(files[i]);
            const std::optional<win32::BmpFile> bmp = win32::ReadBmpFile(files[i]);
            ASSERT_EQ(bmp.has_value(), loader.has_value()) << what;
            if (!bmp) {
                ++refused;
                continue;
            }
            ++accepted;
            EXPECT_EQ(bmp->width, loader->width) << what;
            EXPECT_EQ(bmp->height, loader->height) << what;
            ExpectDrawable(*bmp, what);
            StretchDIBits(dc, 0, 0, 32, 32, 0, 0, bmp->width, bmp->height,
                          bmp->bytes.data() + bmp->bitsOffset,
                          reinterpret_cast<const BITMAPINFO*>(bmp->bytes.data() + bmp->infoOffset),
                          DIB_RGB_COLORS, SRCCOPY);
        }
    }
    SelectObject(dc, old);
    DeleteObject(target);
    DeleteDC(dc);
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace adultify
