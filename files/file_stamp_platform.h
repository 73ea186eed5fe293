#pragma once
// A file's size and last-write time as the system tells them, in files/file_stamp_posix.cpp
// (stat) and files/file_stamp_windows.cpp (GetFileAttributesExW).

#include <cstdint>
#include <filesystem>
#include <limits>

namespace adultify {

// Stands for "unknown": no file's last-write time is this far before the epoch.
constexpr std::int64_t kNoTime = std::numeric_limits<std::int64_t>::min();

struct DiskState {
    bool gone = false;  // nothing has the name
    bool known = false; // a regular file whose size and time were read
    std::uint64_t size = 0;
    std::int64_t mtimeNs = kNoTime; // nanoseconds since 1970
};

[[nodiscard]] DiskState StatOf(const std::filesystem::path& path);

} // namespace adultify
