#include "iff/byte_string.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace adultify {
namespace {

TEST(FindBytes, HighBytesZerosAndLetterCaseCompareExactly) {
    const Bytes data = {0x00, 0xFD, 0xFF, 0x00, 0x01, 0x39, 0x00, 0x00, 0xFD, 0xFF};
    EXPECT_EQ(FindBytes(data, Bytes{0xFD, 0xFF}, 1), 2);
    EXPECT_EQ(FindBytes(data, Bytes{0xFD, 0xFF}, 3), 9);
    EXPECT_EQ(FindBytes(data, Bytes{0x01, '9', 0x00, 0x00}, 1), 5);
    EXPECT_EQ(FindBytes(Bytes{}, Bytes{0x01}, 1), 0);
    // Letter case counts, and a start before the first byte is the first byte.
    EXPECT_EQ(FindBytes(ToBytes("abcUSER"), "user", 1), 0);
    EXPECT_EQ(FindBytes(ToBytes("abcUSER"), "abc", 0), 1);
}

TEST(U16LE, ReadsAndWritesLowByteFirst) {
    Bytes data = {0xE8, 0x03, 0x00, 0x00};
    EXPECT_EQ(ReadU16LE(data, 1), 1000u);
    WriteU16LE(data, 3, 255);
    EXPECT_EQ(data, (Bytes{0xE8, 0x03, 0xFF, 0x00}));
    WriteU16LE(data, 1, 1000);
    EXPECT_EQ(data[0], 0xE8);
    EXPECT_EQ(data[1], 0x03);
    WriteU16LE(data, 3, 65535);
    EXPECT_EQ(ReadU16LE(data, 3), 65535u);
}

TEST(U16LE, OutsideTheDataThrowsAndChangesNothing) {
    Bytes data = {1, 2, 3};
    EXPECT_THROW((void)ReadU16LE(data, 3), std::out_of_range);
    EXPECT_THROW((void)ReadU16LE(data, 0), std::out_of_range);
    EXPECT_THROW(WriteU16LE(data, 3, 7), std::out_of_range);
    EXPECT_THROW(WriteU16LE(data, 1, 65536), std::out_of_range);
    EXPECT_EQ(data, (Bytes{1, 2, 3}));
}

TEST(FixedWidthCopies, PadWithBlanksOrClipAtTheEnd) {
    const Bytes data = ToBytes("abcdef");
    EXPECT_EQ(BytesPaddedWithBlanks(data, 5, 4), ToBytes("ef  "));
    EXPECT_EQ(BytesPaddedWithBlanks(data, 9, 2), ToBytes("  "));
    EXPECT_EQ(BytesClipped(data, 5, 4), ToBytes("ef"));
    EXPECT_EQ(BytesClipped(data, 7, 4), Bytes{});
}

// The block search against a plain one, over data where near misses are common.
TEST(FindBytes, AgreesWithAPlainSearchEverywhere) {
    std::mt19937 rng(11);
    for (int round = 0; round < 400; ++round) {
        Bytes data(rng() % 300);
        for (auto& b : data)
            b = static_cast<std::uint8_t>('a' + rng() % 3);
        Bytes pattern(1 + rng() % 6);
        for (auto& b : pattern)
            b = static_cast<std::uint8_t>('a' + rng() % 3);
        const Position start = 1 + static_cast<Position>(rng() % (data.size() + 2));
        Position expected = 0;
        for (Position p = start; expected == 0 && p + static_cast<Position>(pattern.size()) - 1 <=
                                                      static_cast<Position>(data.size());
             ++p)
            if (std::equal(pattern.begin(), pattern.end(), data.begin() + (p - 1))) expected = p;
        ASSERT_EQ(FindBytes(data, pattern, start), expected) << "round " << round;
    }
}

} // namespace
} // namespace adultify
