#include "iff/character_file.h"

#include "iff/chunk_search.h"

#include <algorithm>

namespace adultify {

namespace {
// How far the name table's format code and language byte are looked for.
constexpr Position kNameSearchWindow = 1000;
} // namespace

bool IsSafeUserFileName(const Bytes& userFile) {
    if (userFile.empty()) return false;
    for (std::uint8_t b : userFile)
        if (b < 32 || b == 127 || b == '/' || b == '\\' || b == ':') return false;
    return FindBytes(userFile, "..", 1) == 0;
}

Position FindThumbnailChunk(const Bytes& data) {
    constexpr auto kSize = static_cast<std::uint32_t>(kChunkHeaderSize + kThumbnailDataLength);
    const Position old =
        FindChunkHeader(data, "BMP_", kSize, kThumbnailChunkId, kChunkFlagsUsual, "thumbnail");
    const Position made =
        FindChunkHeader(data, "BMP_", kSize, kThumbnailChunkId, kChunkFlagsUsual, "newimage");
    if (old == 0) return made;
    if (made == 0) return old;
    return std::min(old, made);
}

Position FindFaceChunk(const Bytes& data) {
    constexpr auto kSize = static_cast<std::uint32_t>(kChunkHeaderSize + kFaceDataLength);
    return FindChunkHeader(data, "BMP_", kSize, kFaceChunkId, kChunkFlagsUsual, "face");
}

FirstNameResult FirstNameOf(const Bytes& b) {
    using Outcome = FirstNameResult::Outcome;
    const auto size = static_cast<Position>(b.size());
    auto at = [&](Position p) {
        return p >= 1 && p <= size ? b[static_cast<std::size_t>(p - 1)] : -1;
    };
    const Position tag = FindBytes(b, "CTSS", 1);
    if (tag == 0) return {Outcome::NotFound, {}};
    Position code = 0;
    for (Position k = tag + 1; k <= tag + kNameSearchWindow && code == 0; ++k)
        if (at(k) == 0xFD && at(k + 1) == 0xFF) code = k;
    if (code == 0) return {Outcome::Invalid, {}};
    // The chunk's size (big-endian, header included) bounds the table: a name never runs on
    // into the next chunk.
    std::uint32_t chunkSize = 0;
    for (Position k = tag + 4; k < tag + 8; ++k)
        chunkSize = (chunkSize << 8) | static_cast<std::uint32_t>(std::max(at(k), 0));
    const Position last = tag + static_cast<Position>(chunkSize) - 1;
    const Position valueAt = code + 5; // past the format code, the count and the language byte
    if (code != tag + kChunkHeaderSize || chunkSize < kChunkHeaderSize || last > size ||
        valueAt > last || at(code + 2) + 256 * at(code + 3) == 0)
        return {Outcome::NotFound, {}};
    Position end = valueAt;
    while (end <= last && at(end) != 0)
        ++end;
    if (end > last) return {Outcome::NotFound, {}};
    return {Outcome::Found, Bytes(b.begin() + (valueAt - 1), b.begin() + (end - 1))};
}

} // namespace adultify
