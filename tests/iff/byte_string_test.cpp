#include "iff/byte_string.h"

#include <gtest/gtest.h>

#include <random>
#include <stdexcept>

namespace adultify {
namespace {

TEST(FindBytes, BoundaryTable) {
    const Bytes data = ToBytes("abcUSERabcUSER");
    struct Case {
        std::string_view pattern;
        Position start, expected;
    } cases[] = {
        {"USER", 1, 4},
        {"USER", 4, 4},
        {"USER", 5, 11},
        {"USER", 11, 11},
        {"USER", 12, 0},
        {"user", 1, 0},
        {"abc", 0, 1},
        {"R", 14, 14},
        {"R", 15, 0},
        {"abcUSERabcUSERx", 1, 0},
        {"abcUSERabcUSER", 1, 1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindBytes(data, c.pattern, c.start), c.expected)
            << c.pattern << " from " << c.start;
}

TEST(FindBytes, HighBytesAndZerosCompareExactly) {
    const Bytes data = {0x00, 0xFD, 0xFF, 0x00, 0x01, 0x39, 0x00, 0x00, 0xFD, 0xFF};
    EXPECT_EQ(FindBytes(data, Bytes{0xFD, 0xFF}, 1), 2);
    EXPECT_EQ(FindBytes(data, Bytes{0xFD, 0xFF}, 3), 9);
    EXPECT_EQ(FindBytes(data, Bytes{0x01, '9', 0x00, 0x00}, 1), 5);
    EXPECT_EQ(FindBytes(Bytes{}, Bytes{0x01}, 1), 0);
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

} // namespace
} // namespace adultify

namespace adultify {
namespace {

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
