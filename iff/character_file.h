#pragma once
// A resident's character file: its name, its two pictures and its first name.

#include "iff/byte_string.h"

#include <cstdint>

namespace adultify {

// A user-file name comes from a file players share: one that could step outside the
// Characters folder (a separator, a colon, "..", a zero byte or another control character)
// names no file at all.
[[nodiscard]] bool IsSafeUserFileName(const Bytes& userFile);

// Each picture chunk holds a whole Windows bitmap: a 54-byte header, then bottom-up rows of
// 24-bit pixels padded to four bytes. The thumbnail is 25 by 25, the faces 105 by 41 (three
// views side by side).
inline constexpr std::size_t kBitmapHeaderSize = 54;
inline constexpr std::size_t kThumbnailDataLength = kBitmapHeaderSize + std::size_t{76} * 25;
inline constexpr std::size_t kFaceDataLength = kBitmapHeaderSize + std::size_t{316} * 41;
inline constexpr unsigned kThumbnailChunkId = 2004, kFaceChunkId = 2002;

// The thumbnail chunk: labelled "thumbnail" by the game's own sims, "newimage" by every sim
// made or saved again in Create-a-Sim. 0 when there is neither.
[[nodiscard]] Position FindThumbnailChunk(const Bytes& data);
[[nodiscard]] Position FindFaceChunk(const Bytes& data);

// The first name: the value of entry 0 of the first "CTSS" name table, whatever its language
// byte (the game writes its own language's code). The table is read as laid out: format code
// FD FF at the start of the chunk's data, count, then per entry language byte, value and
// comment, each zero-terminated, all inside the chunk. No FD FF within 1000 bytes after the tag
// makes the file invalid; a table that cannot be read that way has no name (NotFound).
struct FirstNameResult {
    enum class Outcome { NotFound, Invalid, Found } outcome;
    Bytes name; // when found
};
[[nodiscard]] FirstNameResult FirstNameOf(const Bytes& characterFile);

} // namespace adultify
