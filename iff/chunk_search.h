#pragma once
// Chunk searches over a whole IFF file held in memory. The file is never walked as a
// chain: a chunk is found by its tag plus a check of its big-endian ID and flags.

#include "iff/byte_string.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace adultify {

// A chunk header: tag 4, size 4, ID 2, flags 2, label 64; the chunk's data follow it.
inline constexpr int kChunkHeaderSize = 76;
// The offset of the ID's first byte from the tag's.
inline constexpr int kChunkIdOffset = 8;
inline constexpr unsigned kChunkFlagsUsual = 0x0010;
// A string table's data: format code (2 bytes), count (2 bytes, the low byte first), then per
// entry a language byte and the value. Offsets from the chunk's tag.
inline constexpr int kStringCountOffset = kChunkHeaderSize + 2;
inline constexpr int kFirstStringOffset = kChunkHeaderSize + 5;

// First chunk with this tag whose ID and flags (bytes 8..11 after the tag) match; 0 if none.
// A tag too close to the end for those four bytes counts as not matching. `onTry` runs
// before each search for the tag.
[[nodiscard]] Position FindChunk(const Bytes& data, std::string_view tag, unsigned id,
                                 unsigned flags, const std::function<void()>& onTry = {});

// One pattern: tag, size (4 bytes BE), ID and flags (2 bytes BE each), label prefix.
[[nodiscard]] Position FindChunkHeader(const Bytes& data, std::string_view tag, std::uint32_t size,
                                       unsigned id, unsigned flags, std::string_view label);

// The two low bytes of the size field of the chunk whose tag is at q (the size modulo 65536).
// Missing bytes count as 0.
[[nodiscard]] unsigned ChunkSize16(const Bytes& data, Position q);

} // namespace adultify
