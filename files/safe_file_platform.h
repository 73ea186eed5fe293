#pragma once
// What safe_file.cpp needs from each system, implemented in safe_file_posix.cpp and
// safe_file_windows.cpp; and the source of temp names, which tests replace to plant entries.

#include "files/safe_file.h"

#include <cstdint>
#include <functional>
#include <span>

namespace adultify::platform {

// The random part of a temp name: 16 lower-case hex digits.
extern std::string (*drawTempSuffix)();

// A new file's contents piece after piece, each valid until the next call; an empty piece ends
// them, an error stops the writing.
using Pieces = std::function<FileResult<std::span<const std::uint8_t>>()>;

// Creates `path` only where no entry has the name, writes all of `pieces` and flushes them to
// the disk (unless `flush` is false): every new file goes this way. With `like`, the new file
// takes the mode (and, for an administrator, the owner) of it. The file is removed again when
// any of it fails.
// Gives each piece to `write` until the pieces end or either fails.
template <typename Write> FileStatus WritePieces(const Pieces& pieces, Write write) {
    for (;;) {
        auto piece = pieces();
        if (!piece) return piece.error();
        if (piece.value().empty()) return {};
        if (auto written = write(piece.value()); !written) return written;
    }
}

FileStatus CreateExclusive(const std::filesystem::path& path, const Pieces& pieces,
                           const std::filesystem::path* like, bool flush = true);
FileStatus CreateExclusive(const std::filesystem::path& path, const Bytes& bytes,
                           const std::filesystem::path* like, bool flush = true);

// `buffer` emptied and sized to `size` for a read, in its own room where that is enough. A
// buffer handed in again, too small for this file, grows by a quarter more: files read in turn
// differ by a few bytes, and each move to new room touches new memory. Growing copies nothing.
void SizeForRead(Bytes& buffer, std::size_t size);

// Told of each file CreateExclusive has flushed to the disk; tests record them.
extern void (*fileSynced)(const std::filesystem::path& path);

// Fails when `target` exists but may not be replaced: read-only, or not a regular file.
FileStatus CheckReplaceable(const std::filesystem::path& target);

// A second name for the file; `unsupported` is set when the file system cannot give one.
FileStatus HardLink(const std::filesystem::path& existing, const std::filesystem::path& link,
                    bool& unsupported);

// Renames over an existing `to`, waiting briefly when another program holds it.
FileStatus Rename(const std::filesystem::path& from, const std::filesystem::path& to);

// Succeeds when the file is already gone.
FileStatus Remove(const std::filesystem::path& path);

// Makes the folder's entries durable; a no-op where the system has no such call.
void SyncFolder(const std::filesystem::path& folder);

#ifdef _WIN32
// FormatMessageW's words for a system error code, in UTF-8.
std::string SystemWords(unsigned long code);
#endif

} // namespace adultify::platform
