#pragma once
// CRC-32 (the zlib/PNG polynomial), to tell a complete file or record from a damaged one.

#include <cstddef>
#include <cstdint>

namespace adultify {

// Continues `crc` over `size` more bytes; start with 0.
[[nodiscard]] std::uint32_t Crc32(const void* data, std::size_t size, std::uint32_t crc = 0);

} // namespace adultify
