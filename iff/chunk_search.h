#pragma once
// Chunk searches over a whole IFF file held in memory. The file is never walked as a
// chain: a chunk is found by its tag plus a check of its big-endian ID and flags.

#include "iff/byte_string.h"

#include <cstdint>
#include <string_view>

namespace adultify {

inline constexpr int kChunkHeaderSize = 76; // tag 4, size 4, ID 2, flags 2, label 64

// First chunk with this tag whose ID and flags (bytes 8..11 after the tag) match; 0 if none.
// A tag too close to the end for those four bytes counts as not matching.
[[nodiscard]] Position FindChunk(const Bytes& data, std::string_view tag, unsigned id,
                                 unsigned flags);

// One pattern: tag, size (4 bytes BE), ID and flags (2 bytes BE each), label prefix.
[[nodiscard]] Position FindChunkHeader(const Bytes& data, std::string_view tag, std::uint32_t size,
                                       unsigned id, unsigned flags, std::string_view label);

// The two low bytes of the size field of the chunk whose tag is at q (the size modulo 65536).
// Missing bytes count as 0.
[[nodiscard]] unsigned ChunkSize16(const Bytes& data, Position q);

} // namespace adultify
