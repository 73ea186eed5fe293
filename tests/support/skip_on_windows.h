#pragma once
// What Windows does not have or do, skipped there with the reason, never dropped: the XDG
// folders, Wine prefixes and their drive links around a game, Steam's and the other managers'
// homes, symbolic links (libstdc++ cannot make them there; Windows lets only administrators).

#include <gtest/gtest.h>

#ifdef _WIN32
#define ADULTIFY_SKIP_ON_WINDOWS(reason) GTEST_SKIP() << (reason)
#else
#define ADULTIFY_SKIP_ON_WINDOWS(reason) static_cast<void>(0)
#endif
