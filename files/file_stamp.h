#pragma once
// What a file looked like when it was read, to tell before saving whether something else
// (the game, another editor) has written it since.

#include "iff/byte_string.h"

#include <cstdint>
#include <filesystem>

namespace adultify {

struct FileStamp {
    std::uint64_t size = 0;
    std::int64_t mtimeNs = 0; // last write, in nanoseconds from 1970
    std::uint64_t hash = 0;   // of the bytes read, by StampHash unless another is named
};

enum class Change { Same, Changed, Gone };

using BytesHash = std::uint64_t (*)(const Bytes& bytes);

// FNV-1a, 64 bits: enough to tell a rewrite apart, not meant to withstand a forger. One
// multiply a byte, each waiting for the last: about four cycles a byte.
[[nodiscard]] std::uint64_t Fnv1a64(const Bytes& bytes);

// A stamp's hash within one run, never stored: four independent lanes of multiply-rotate
// rounds, 32 bytes a step, about twenty times as fast as FNV-1a. Not meant to withstand a
// forger either.
[[nodiscard]] std::uint64_t StampHash(const Bytes& bytes);

// Stats `path` now, so call it right after reading `bytesRead` from it. Should the stat fail,
// the stamp matches no file, and CompareWithDisk never answers Same.
[[nodiscard]] FileStamp StampOf(const std::filesystem::path& path, const Bytes& bytesRead,
                                BytesHash hash = StampHash);

// Gone when nothing has the name any more; Changed when the size, the last-write time or the
// bytes (by `hash`, the one the stamp was made with) differ, or when the file cannot be checked.
[[nodiscard]] Change CompareWithDisk(const std::filesystem::path& path, const FileStamp& stamp,
                                     BytesHash hash = StampHash);

} // namespace adultify
