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

// The first name: entry 0 of the first name table (the first "CTSS" text), found as the first
// FD FF format code within 1000 bytes after the tag and the first language byte 01 within
// 1000 bytes after that; it runs to its zero byte, or to the end of the file.
struct FirstNameResult {
    enum class Outcome { NoTable, Invalid, Found } outcome;
    Bytes name; // when found
};
[[nodiscard]] FirstNameResult FirstNameOf(const Bytes& characterFile);

} // namespace adultify
