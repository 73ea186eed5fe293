#include "files/checksum.h"

#include <array>

#if defined(__x86_64__)
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace adultify {

namespace {

using Table = std::array<std::array<std::uint32_t, 256>, 8>;

// Row 0 is the byte-at-a-time table; row k carries a byte through k more zero bytes, so that
// eight bytes are folded in with eight independent look-ups instead of a chain of eight.
constexpr Table MakeTables() {
    Table t{};
    for (std::uint32_t i = 0; i < 256; ++i) {
        std::uint32_t c = i;
        for (int bit = 0; bit < 8; ++bit)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        t[0][i] = c;
    }
    for (std::size_t k = 1; k < t.size(); ++k)
        for (std::size_t i = 0; i < 256; ++i)
            t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
}

constexpr Table kTables = MakeTables();

std::uint32_t Load32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}

#if defined(__x86_64__)
bool HasCarrylessMultiply() {
    unsigned a = 0, b = 0, c = 0, d = 0;
    return __get_cpuid(1, &a, &b, &c, &d) && (c & bit_PCLMUL) && (c & bit_SSE4_1);
}

#define ADULTIFY_CARRYLESS __attribute__((target("pclmul,sse4.1")))

ADULTIFY_CARRYLESS __m128i Load16(const std::uint8_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// x times the two constants, its halves apart, added to the next 16 bytes.
ADULTIFY_CARRYLESS __m128i FoldInto(__m128i x, __m128i k, __m128i next) {
    return _mm_xor_si128(
        _mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x00), _mm_clmulepi64_si128(x, k, 0x11)), next);
}

// Four 16-byte lanes folded forward 64 bytes a step with carry-less multiplies, then one lane,
// then reduced to 32 bits (Barrett): Intel's "Fast CRC Computation for Generic Polynomials
// Using PCLMULQDQ", with its constants for the reflected polynomial, powers of x modulo it.
// `crc` is the register, inverted as in the loop below; `size` is 64 or more, a multiple of 16.
ADULTIFY_CARRYLESS std::uint32_t Fold(const std::uint8_t* p, std::size_t size, std::uint32_t crc) {
    const __m128i k1k2 = _mm_set_epi64x(0x01c6e41596, 0x0154442bd4);
    const __m128i k3k4 = _mm_set_epi64x(0x00ccaa009e, 0x01751997d0);
    const __m128i k5 = _mm_set_epi64x(0, 0x0163cd6124);
    const __m128i poly = _mm_set_epi64x(0x01f7011641, 0x01db710641); // mu, P
    const __m128i low32 = _mm_setr_epi32(-1, 0, -1, 0);
    __m128i x1 = _mm_xor_si128(Load16(p), _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i x2 = Load16(p + 16), x3 = Load16(p + 32), x4 = Load16(p + 48);
    for (p += 64, size -= 64; size >= 64; p += 64, size -= 64) {
        x1 = FoldInto(x1, k1k2, Load16(p));
        x2 = FoldInto(x2, k1k2, Load16(p + 16));
        x3 = FoldInto(x3, k1k2, Load16(p + 32));
        x4 = FoldInto(x4, k1k2, Load16(p + 48));
    }
    x1 = FoldInto(FoldInto(FoldInto(x1, k3k4, x2), k3k4, x3), k3k4, x4);
    for (; size >= 16; p += 16, size -= 16)
        x1 = FoldInto(x1, k3k4, Load16(p));
    // 128 bits to 64, to 32, then the remainder.
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), _mm_clmulepi64_si128(x1, k3k4, 0x10));
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, low32), k5, 0x00),
                       _mm_srli_si128(x1, 4));
    __m128i q = _mm_clmulepi64_si128(_mm_and_si128(x1, low32), poly, 0x10);
    q = _mm_clmulepi64_si128(_mm_and_si128(q, low32), poly, 0x00);
    return static_cast<std::uint32_t>(_mm_extract_epi32(_mm_xor_si128(x1, q), 1));
}
#undef ADULTIFY_CARRYLESS
#endif

} // namespace

std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc) {
    const auto* p = static_cast<const std::uint8_t*>(data);
    crc = ~crc;
#if defined(__x86_64__)
    static const bool carryless = HasCarrylessMultiply();
    if (carryless && size >= 64) {
        const std::size_t whole = size & ~std::size_t{15};
        crc = Fold(p, whole, crc);
        p += whole;
        size -= whole;
    }
#endif
    for (; size >= 8; size -= 8, p += 8) {
        const std::uint32_t lo = Load32(p) ^ crc, hi = Load32(p + 4);
        crc = kTables[7][lo & 0xFF] ^ kTables[6][(lo >> 8) & 0xFF] ^ kTables[5][(lo >> 16) & 0xFF] ^
              kTables[4][lo >> 24] ^ kTables[3][hi & 0xFF] ^ kTables[2][(hi >> 8) & 0xFF] ^
              kTables[1][(hi >> 16) & 0xFF] ^ kTables[0][hi >> 24];
    }
    for (; size > 0; --size, ++p)
        crc = kTables[0][(crc ^ *p) & 0xFF] ^ (crc >> 8);
    return ~crc;
}

} // namespace adultify
