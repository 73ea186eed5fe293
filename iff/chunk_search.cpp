#include "iff/chunk_search.h"

namespace adultify {

namespace {
int ByteOrMinusOne(const Bytes& data, Position pos) {
    if (pos < 1 || pos > static_cast<Position>(data.size())) return -1;
    return data[static_cast<std::size_t>(pos - 1)];
}
} // namespace

Position FindChunk(const Bytes& data, std::string_view tag, unsigned id, unsigned flags,
                   const std::function<void()>& onTry) {
    const int want[4] = {static_cast<int>((id >> 8) & 0xFF), static_cast<int>(id & 0xFF),
                         static_cast<int>((flags >> 8) & 0xFF), static_cast<int>(flags & 0xFF)};
    Position start = 1;
    for (;;) {
        if (onTry) onTry();
        const Position p = FindBytes(data, tag, start);
        if (p == 0) return 0;
        bool same = true;
        for (int k = 0; k < 4 && same; ++k)
            same = ByteOrMinusOne(data, p + kChunkIdOffset + k) == want[k];
        if (same) return p;
        start = p + 1;
    }
}

Position FindChunkHeader(const Bytes& data, std::string_view tag, std::uint32_t size, unsigned id,
                         unsigned flags, std::string_view label) {
    Bytes pattern = ToBytes(tag);
    for (int shift = 24; shift >= 0; shift -= 8)
        pattern.push_back(static_cast<std::uint8_t>((size >> shift) & 0xFF));
    pattern.push_back(static_cast<std::uint8_t>((id >> 8) & 0xFF));
    pattern.push_back(static_cast<std::uint8_t>(id & 0xFF));
    pattern.push_back(static_cast<std::uint8_t>((flags >> 8) & 0xFF));
    pattern.push_back(static_cast<std::uint8_t>(flags & 0xFF));
    pattern.insert(pattern.end(), label.begin(), label.end());
    return FindBytes(data, pattern, 1);
}

unsigned ChunkSize16(const Bytes& data, Position q) {
    const int hi = ByteOrMinusOne(data, q + 6);
    const int lo = ByteOrMinusOne(data, q + 7);
    return 256u * static_cast<unsigned>(hi < 0 ? 0 : hi) + static_cast<unsigned>(lo < 0 ? 0 : lo);
}

} // namespace adultify
