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
    std::uint64_t hash = 0;   // Fnv1a64 of the bytes read
};

enum class Change { Same, Changed, Gone };

// FNV-1a, 64 bits: enough to tell a rewrite apart, not meant to withstand a forger.
[[nodiscard]] std::uint64_t Fnv1a64(const Bytes& bytes);

// Stats `path` now, so call it right after reading `bytesRead` from it. Should the stat fail,
// the stamp matches no file, and CompareWithDisk never answers Same.
[[nodiscard]] FileStamp StampOf(const std::filesystem::path& path, const Bytes& bytesRead);

// Gone when nothing has the name any more; Changed when the size, the last-write time or the
// bytes differ, or when the file cannot be checked.
[[nodiscard]] Change CompareWithDisk(const std::filesystem::path& path, const FileStamp& stamp);

} // namespace adultify
