#pragma once
// Whole-file reads and writes: a file is read in one piece and replaced only by a complete
// new file, so that a failed write never leaves half a file behind.

#include "iff/file_system.h"

#include <optional>
#include <string>

namespace adultify {

[[nodiscard]] std::optional<Bytes> ReadWholeFile(FileSystem& fs, const std::string& path,
                                                 std::string* reason = nullptr);
IoResult WriteWholeFile(FileSystem& fs, const std::string& path, const Bytes& data);

} // namespace adultify
