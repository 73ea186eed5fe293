#pragma once
// What the two builds' folder locks share: the bytes of the lock file both lock (the Windows
// build with LockFileEx, the Linux one with fcntl, so that each excludes the other through
// Wine), and the player's text when another holds them.

namespace adultify {

constexpr unsigned kLockedOffset = 0;
constexpr unsigned kLockedLength = 1;
constexpr const char* kHeldElsewhere = "another Adultify is editing this game";

} // namespace adultify
