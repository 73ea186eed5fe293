#pragma once
// What a command makes sure of before its work begins, so that its questions come first and it
// never acts on an image of files that have changed since they were read.

#include "core/module1.h"

#include <string>
#include <vector>

namespace adultify {

// The files still as they were read; otherwise the neighbourhood is read again (with no
// resident selected), the user is told, and the answer is false: the command does not start.
[[nodiscard]] bool StillAsRead(Module1& m, const std::vector<std::string>& files);

// Before a command that writes `files`: this run holds the game, the files are as read, and the
// game is not running (or the user goes on anyway). False when the command is not to start,
// with the reason kept for NothingSavedText.
[[nodiscard]] bool ReadyToWrite(Module1& m, const std::vector<std::string>& files);

} // namespace adultify
