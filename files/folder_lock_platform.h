#pragma once
// What the two builds' folder locks share: the bytes of the lock file both lock (the Windows
// build with LockFileEx, the Linux one with fcntl, so that each excludes the other through
// Wine), and what a refused lock reports.

#include "files/safe_file.h"

#include <filesystem>
#include <string>
#include <utility>

namespace adultify {

constexpr unsigned kLockedOffset = 0;
constexpr unsigned kLockedLength = 1;
constexpr const char* kHeldElsewhere = "another Adultify is editing this game";

// Locked with the player's text when another holder has the bytes; otherwise the system's
// reason for refusing.
[[nodiscard]] inline FileError LockRefused(const std::filesystem::path& path, bool heldElsewhere,
                                           std::string systemWords) {
    if (heldElsewhere) return FileError{FileErrorKind::Locked, kHeldElsewhere, path};
    return FileError{FileErrorKind::WriteFailed, std::move(systemWords), path};
}

} // namespace adultify
