#include "iff/byte_string.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#if defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace adultify {

Bytes ToBytes(std::string_view text) {
    return Bytes(text.begin(), text.end());
}

std::string_view AsText(const Bytes& bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

namespace {

// Tests 16 or 32 positions at a time for the pattern's first and last byte, and compares
// the rest only where both match: chunk tags and keys are rare, so this runs at memory speed.
// Answers the position of the first match, or where the blocks ended (the caller goes on).
#if defined(__x86_64__)
__attribute__((target("avx2"))) std::size_t SearchBlocks32(const std::uint8_t* data,
                                                           std::size_t size, std::size_t i,
                                                           const std::uint8_t* pattern,
                                                           std::size_t n) {
    const __m256i first = _mm256_set1_epi8(static_cast<char>(pattern[0]));
    const __m256i last = _mm256_set1_epi8(static_cast<char>(pattern[n - 1]));
    for (; i + n - 1 + 64 <= size; i += 64) {
        const auto* p = data + i;
        const auto* q = data + i + n - 1;
        const __m256i low = _mm256_and_si256(
            _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p)), first),
            _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q)), last));
        const __m256i high = _mm256_and_si256(
            _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(p + 32)), first),
            _mm256_cmpeq_epi8(_mm256_loadu_si256(reinterpret_cast<const __m256i*>(q + 32)), last));
        const __m256i any = _mm256_or_si256(low, high);
        if (_mm256_testz_si256(any, any)) continue; // the usual case: nothing in 64 positions
        const std::uint64_t mask =
            static_cast<std::uint32_t>(_mm256_movemask_epi8(low)) |
            (std::uint64_t{static_cast<std::uint32_t>(_mm256_movemask_epi8(high))} << 32);
        for (std::uint64_t m = mask; m != 0; m &= m - 1) {
            const auto bit = static_cast<std::size_t>(__builtin_ctzll(m));
            if (n <= 2 || std::memcmp(data + i + bit + 1, pattern + 1, n - 2) == 0) return i + bit;
        }
    }
    return i;
}

std::size_t SearchBlocks16(const std::uint8_t* data, std::size_t size, std::size_t i,
                           const std::uint8_t* pattern, std::size_t n) {
    const __m128i first = _mm_set1_epi8(static_cast<char>(pattern[0]));
    const __m128i last = _mm_set1_epi8(static_cast<char>(pattern[n - 1]));
    for (; i + n - 1 + 16 <= size; i += 16) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + i + n - 1));
        auto mask = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi8(a, first), _mm_cmpeq_epi8(b, last))));
        while (mask != 0) {
            const auto bit = static_cast<std::size_t>(__builtin_ctz(mask));
            if (n <= 2 || std::memcmp(data + i + bit + 1, pattern + 1, n - 2) == 0) return i + bit;
            mask &= mask - 1;
        }
    }
    return i;
}

// Asked on the first search only: __builtin_cpu_supports would link libgcc's start-up probe,
// a few dozen cpuid instructions that every run pays for, each one trapping in a virtual machine.
bool HasAvx2() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_OSXSAVE) || !(c & bit_AVX)) return false;
    unsigned low = 0, high = 0;
    __asm__("xgetbv" : "=a"(low), "=d"(high) : "c"(0)); // the system keeps the YMM registers
    return (low & 6u) == 6u && __get_cpuid_count(7, 0, &a, &b, &c, &d) && (b & bit_AVX2);
}
#endif

std::size_t SearchBlocks(const std::uint8_t* data, std::size_t size, std::size_t from,
                         const std::uint8_t* pattern, std::size_t n) {
#if defined(__x86_64__)
    static const bool avx2 = HasAvx2();
    return avx2 ? SearchBlocks32(data, size, from, pattern, n)
                : SearchBlocks16(data, size, from, pattern, n);
#else
    (void)data, (void)size, (void)pattern, (void)n;
    return from;
#endif
}

Position Search(const std::uint8_t* data, std::size_t size, const std::uint8_t* pattern,
                std::size_t patternSize, Position start) {
    if (start < 1) start = 1;
    auto from = static_cast<std::size_t>(start - 1);
    if (from > size) return 0;
    if (patternSize == 0) return from < size ? start : 0;
    if (patternSize > size - from) return 0;
    if (patternSize == 1) {
        const void* hit = std::memchr(data + from, pattern[0], size - from);
        return hit ? static_cast<const std::uint8_t*>(hit) - data + 1 : 0;
    }
    const std::size_t block = SearchBlocks(data, size, from, pattern, patternSize);
    if (block + patternSize <= size && std::memcmp(data + block, pattern, patternSize) == 0)
        return static_cast<Position>(block) + 1;
    from = block;
#ifdef __GLIBC__
    const void* hit = ::memmem(data + from, size - from, pattern, patternSize);
    if (hit == nullptr) return 0;
    return static_cast<const std::uint8_t*>(hit) - data + 1;
#else
    // Past the blocks less than 64 bytes are left on x86-64: a plain search is enough.
    const auto hit = std::search(data + from, data + size, pattern, pattern + patternSize);
    if (hit == data + size) return 0;
    return hit - data + 1;
#endif
}

void CheckRange(const Bytes& data, Position pos, Position count) {
    if (pos < 1 || pos + count - 1 > static_cast<Position>(data.size()))
        throw std::out_of_range("position " + std::to_string(pos) + " is outside the data of " +
                                std::to_string(data.size()) + " bytes");
}

} // namespace

Position FindBytes(const Bytes& data, const Bytes& pattern, Position start) {
    return Search(data.data(), data.size(), pattern.data(), pattern.size(), start);
}

Position FindBytes(const Bytes& data, std::string_view pattern, Position start) {
    return Search(data.data(), data.size(), reinterpret_cast<const std::uint8_t*>(pattern.data()),
                  pattern.size(), start);
}

std::uint8_t ByteAt(const Bytes& data, Position pos) {
    CheckRange(data, pos, 1);
    return data[static_cast<std::size_t>(pos - 1)];
}

void SetByteAt(Bytes& data, Position pos, std::uint8_t value) {
    CheckRange(data, pos, 1);
    data[static_cast<std::size_t>(pos - 1)] = value;
}

unsigned ReadU16LE(const Bytes& data, Position p) {
    CheckRange(data, p, 2);
    const auto i = static_cast<std::size_t>(p - 1);
    return data[i] + 256u * data[i + 1];
}

void WriteU16LE(Bytes& data, Position p, unsigned value) {
    if (value > 65535) throw std::out_of_range("16-bit value out of range");
    CheckRange(data, p, 2);
    const unsigned high = value / 256;
    const unsigned low = value - 256 * high;
    const auto i = static_cast<std::size_t>(p - 1);
    data[i] = static_cast<std::uint8_t>(low);
    data[i + 1] = static_cast<std::uint8_t>(high);
}

Bytes BytesPaddedWithBlanks(const Bytes& data, Position pos, std::size_t count) {
    Bytes out(count, 32);
    for (std::size_t k = 0; k < count; ++k) {
        const Position p = pos + static_cast<Position>(k);
        if (p >= 1 && p <= static_cast<Position>(data.size()))
            out[k] = data[static_cast<std::size_t>(p - 1)];
    }
    return out;
}

Bytes BytesClipped(const Bytes& data, Position pos, std::size_t count) {
    if (pos < 1 || pos > static_cast<Position>(data.size())) return {};
    const auto from = static_cast<std::size_t>(pos - 1);
    const std::size_t n = std::min(count, data.size() - from);
    return Bytes(data.begin() + static_cast<std::ptrdiff_t>(from),
                 data.begin() + static_cast<std::ptrdiff_t>(from + n));
}

} // namespace adultify
