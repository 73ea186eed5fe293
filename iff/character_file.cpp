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
    const auto size = static_cast<Position>(b.size());
    auto at = [&](Position p) {
        return p >= 1 && p <= size ? b[static_cast<std::size_t>(p - 1)] : -1;
    };
    const Position p = FindBytes(b, "CTSS", 1);
    if (p == 0) return {FirstNameResult::Outcome::NoTable, {}};
    Position code = 0;
    for (Position k = p + 1; k <= p + kNameSearchWindow && code == 0; ++k)
        if (at(k) == 0xFD && at(k + 1) == 0xFF) code = k;
    if (code == 0) return {FirstNameResult::Outcome::Invalid, {}};
    Position marker = 0;
    for (Position k = code + 1; k <= code + kNameSearchWindow && marker == 0; ++k)
        if (at(k) == 0x01) marker = k;
    if (marker == 0) return {FirstNameResult::Outcome::Invalid, {}};
    const Position s = marker + 1;
    if (s > size) return {FirstNameResult::Outcome::Found, {}};
    Position e = s; // the name's first byte is taken whatever it is, as the game's reader does
    do
        ++e;
    while (e <= size && at(e) != 0);
    return {FirstNameResult::Outcome::Found,
            Bytes(b.begin() + (s - 1), b.begin() + (std::min(e, size + 1) - 1))};
}

} // namespace adultify
