#include "iff/chunk_search.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

Bytes Header(std::string_view tag, std::uint32_t size, unsigned id, unsigned flags,
             std::string_view label) {
    Bytes h = ToBytes(tag);
    for (int s = 24; s >= 0; s -= 8)
        h.push_back(static_cast<std::uint8_t>(size >> s));
    h.push_back(static_cast<std::uint8_t>(id >> 8));
    h.push_back(static_cast<std::uint8_t>(id));
    h.push_back(static_cast<std::uint8_t>(flags >> 8));
    h.push_back(static_cast<std::uint8_t>(flags));
    Bytes l(64, 0);
    std::copy(label.begin(), label.end(), l.begin());
    h.insert(h.end(), l.begin(), l.end());
    return h;
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes out;
    for (const Bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(FindChunk, SkipsATagWhoseFlagsDiffer) {
    const Bytes data = Join({ToBytes("xx"), Header("STR#", 80, 200, 0x0000, ""), Bytes(4, 0),
                             Header("STR#", 80, 200, 0x0010, "bodystring")});
    EXPECT_EQ(FindChunk(data, "STR#", 200, 0x0010), 3 + 80);
    EXPECT_EQ(FindChunk(data, "STR#", 200, 0x0000), 3);
    EXPECT_EQ(FindChunk(data, "STR#", 201, 0x0010), 0);
}

TEST(FindChunk, AcceptsTheTagInsideOtherDataAndIgnoresTheSize) {
    Bytes data = Header("BHAV", 100, 1, 0x10, "");
    const Bytes fake = {'S', 'T', 'R', '#', 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0xC8, 0x00, 0x10};
    data.insert(data.end(), fake.begin(), fake.end());
    EXPECT_EQ(FindChunk(data, "STR#", 200, 0x0010), 77);
}

TEST(FindChunk, ATagTooCloseToTheEndDoesNotMatch) {
    const Bytes data = {'S', 'T', 'R', '#', 0, 0, 0, 0x50, 0x00, 0xC8, 0x00};
    EXPECT_EQ(FindChunk(data, "STR#", 200, 0x0000), 0);
}

TEST(FindChunkHeader, NeedsTheExactSizeAndALabelPrefix) {
    const Bytes other = Header("BMP_", 2031, 2004, 0x10, "thumbnail");
    const Bytes good = Header("BMP_", 2030, 2004, 0x10, "thumbnails2");
    const Bytes data = Join({other, good});
    EXPECT_EQ(FindChunkHeader(data, "BMP_", 2030, 2004, 0x10, "thumbnail"), 77);
    EXPECT_EQ(FindChunkHeader(other, "BMP_", 2030, 2004, 0x10, "thumbnail"), 0);
    EXPECT_EQ(FindChunkHeader(data, "BMP_", 2030, 2004, 0x10, "newimage"), 0);
}

TEST(ChunkSize16, TakesTheSizeModulo65536) {
    EXPECT_EQ(ChunkSize16(Header("STR#", 0x00010010, 1, 0, ""), 1), 16u);
    EXPECT_EQ(ChunkSize16(Header("STR#", 2030, 1, 0, ""), 1), 2030u);
    EXPECT_EQ(ChunkSize16(ToBytes("STR#"), 1), 0u);
}

} // namespace
} // namespace adultify
