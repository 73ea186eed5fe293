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

void FindPattern(benchmark::State& state, const Bytes& pattern) {
    const Bytes data = Buffer(pattern);
    for (auto _ : state)
        benchmark::DoNotOptimize(FindBytes(data, pattern, 1));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(data.size()));
}

#ifdef __GLIBC__
void MemmemPattern(benchmark::State& state, const Bytes& pattern) {
    const Bytes data = Buffer(pattern);
    for (auto _ : state)
        benchmark::DoNotOptimize(
            ::memmem(data.data(), data.size(), pattern.data(), pattern.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) *
                            static_cast<std::int64_t>(data.size()));
}
void BM_Memmem4(benchmark::State& state) {
    MemmemPattern(state, ToBytes("FAMs"));
}
void BM_Memmem9(benchmark::State& state) {
    MemmemPattern(state, ToBytes("user00999"));
}
void BM_MemmemFamilyKey(benchmark::State& state) {
    MemmemPattern(state, Bytes{0x00, 0x00, 0x84, 0x83});
}
#endif

void BM_FindBytes4(benchmark::State& state) {
    FindPattern(state, ToBytes("FAMs"));
}
void BM_FindBytes9(benchmark::State& state) {
    FindPattern(state, ToBytes("user00999"));
}
void BM_FindBytesFamilyKey(benchmark::State& state) {
    FindPattern(state, Bytes{0x00, 0x00, 0x84, 0x83});
}

} // namespace

BENCHMARK(BM_FindBytes4);
BENCHMARK(BM_FindBytes9);
BENCHMARK(BM_FindBytesFamilyKey);
#ifdef __GLIBC__
BENCHMARK(BM_Memmem4);
BENCHMARK(BM_Memmem9);
BENCHMARK(BM_MemmemFamilyKey);
#endif
BENCHMARK_MAIN();
