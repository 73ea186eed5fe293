#pragma once
// Writes IFF files as the game does: the 64-byte header, chunks back to back without
// padding, and an rsmp index of the live chunks at the end.

#include "iff/byte_string.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace adultify::sample {

struct Chunk {
    std::string type; // 4 characters; "XXXX" for a freed chunk
    std::uint16_t id = 0;
    std::uint16_t flags = 0x0010;
    std::string label;
    Bytes data;
    bool listed = true; // false: live, but left out of the rsmp, as the game leaves duplicates
};

[[nodiscard]] Bytes BuildIff(const std::vector<Chunk>& chunks);

// Little-endian appenders for chunk data.
void PutU16(Bytes& out, unsigned v);
void PutU32(Bytes& out, std::uint32_t v);
void PutText(Bytes& out, std::string_view text); // no terminator

// A string table with format code FD FF: per entry language byte, value, comment, then
// one pad byte per entry.
struct StringEntry {
    std::uint8_t language = 1;
    std::string value;
    std::string comment;
};
[[nodiscard]] Bytes StringTable(const std::vector<StringEntry>& entries, std::uint8_t pad = 0xA3);

} // namespace adultify::sample
