// FindBytes over a 4 MB buffer with the pattern only at its end: the whole buffer is read.
// Beside it, the C library's memmem on the same buffer: the block search earns its place only
// while it is faster.
#include "iff/byte_string.h"

#include <benchmark/benchmark.h>

#include <cstring>
#include <random>

using namespace adultify;

namespace {

Bytes Buffer(const Bytes& pattern) {
    std::mt19937 rng(7);
    Bytes data(4 << 20);
    for (auto& b : data)
        b = static_cast<std::uint8_t>(rng() & 0x7F); // ASCII-like, many near misses
    std::copy(pattern.begin(), pattern.end(),
              data.end() - static_cast<std::ptrdiff_t>(pattern.size()));
    return data;
}

Position ByFindBytes(const Bytes& data, const Bytes& pattern) {
    return FindBytes(data, pattern, 1);
}

#ifdef __GLIBC__
const void* ByMemmem(const Bytes& data, const Bytes& pattern) {
    return ::memmem(data.data(), data.size(), pattern.data(), pattern.size());
}
#endif

template <typename Search>
void BM_Search(benchmark::State& state, Search search, const Bytes& pattern) {
    const Bytes data = Buffer(pattern);
    for (auto _ : state)
        benchmark::DoNotOptimize(search(data, pattern));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(data.size()));
}

const Bytes kFourLetters = ToBytes("FAMs"), kNineLetters = ToBytes("user00999"),
            kFamilyKey = {0x00, 0x00, 0x84, 0x83};

} // namespace

BENCHMARK_CAPTURE(BM_Search, FindBytes4, ByFindBytes, kFourLetters);
BENCHMARK_CAPTURE(BM_Search, FindBytes9, ByFindBytes, kNineLetters);
BENCHMARK_CAPTURE(BM_Search, FindBytesFamilyKey, ByFindBytes, kFamilyKey);
#ifdef __GLIBC__
BENCHMARK_CAPTURE(BM_Search, Memmem4, ByMemmem, kFourLetters);
BENCHMARK_CAPTURE(BM_Search, Memmem9, ByMemmem, kNineLetters);
BENCHMARK_CAPTURE(BM_Search, MemmemFamilyKey, ByMemmem, kFamilyKey);
#endif
BENCHMARK_MAIN();
