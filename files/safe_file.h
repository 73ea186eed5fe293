#pragma once
// File operations on the machine's own paths that never lose what is on disk: reads that
// refuse anything but a regular file, new files created only where no name exists, backups
// that never replace an entry, and replacement by one rename.

#include "iff/byte_string.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <variant>
#include <vector>

namespace adultify {

enum class FileErrorKind {
    NotFound,    // no such file, or a folder on its path is missing
    NotRegular,  // a folder, pipe, device or socket where a file should be
    TooLarge,    // larger than the caller allows; nothing was read
    Unreadable,  // exists but cannot be opened or read
    ReadOnly,    // the file is marked read-only; nothing was written
    NameTaken,   // the name to create is already used by some entry
    InUse,       // another program holds the file (Windows)
    Locked,      // another Adultify is editing the same game
    WriteFailed, // creating, writing, flushing, linking, renaming or removing failed
    Refused,     // a check of the program's own turned it down; nothing was done
};

struct FileError {
    FileErrorKind kind = FileErrorKind::WriteFailed;
    std::string reason; // the system's words for the failing call, or ours when it gave none
    std::filesystem::path path;
};

// "<path>: <reason>", for a message box.
[[nodiscard]] std::string Describe(const FileError& error);

class [[nodiscard]] FileStatus {
  public:
    FileStatus() = default;
    FileStatus(FileError error) : error_(std::move(error)) {}
    explicit operator bool() const { return !error_; }
    [[nodiscard]] const FileError& error() const { return *error_; }

  private:
    std::optional<FileError> error_;
};

template <typename T> class [[nodiscard]] FileResult {
  public:
    FileResult(T value) : state_(std::in_place_index<0>, std::move(value)) {}
    FileResult(FileError error) : state_(std::in_place_index<1>, std::move(error)) {}
    explicit operator bool() const { return state_.index() == 0; }
    [[nodiscard]] T& value() { return std::get<0>(state_); }
    [[nodiscard]] const T& value() const { return std::get<0>(state_); }
    [[nodiscard]] const FileError& error() const { return std::get<1>(state_); }

  private:
    std::variant<T, FileError> state_;
};

// Large enough for any neighbourhood or character file the game writes.
inline constexpr std::uint64_t kLargestGameFile = 64u << 20;

// The whole file, read only when it is a regular file (a link to one is followed) of at most
// `maxBytes`. Never waits on a pipe and never opens a device. The bytes go into `buffer`'s
// room: a caller that hands the last file's bytes back for the next reads many files in turn
// without new memory for each.
[[nodiscard]] FileResult<Bytes> ReadRegularFile(const std::filesystem::path& path,
                                                std::uint64_t maxBytes, Bytes buffer = {});

// A folder held open while many files in it are read: each is reached from it by its own
// short name instead of being looked up again from the root. Reads as ReadRegularFile does;
// where the folder cannot be held, by the whole path.
class FolderReader {
  public:
    explicit FolderReader(std::filesystem::path folder);
    ~FolderReader();
    FolderReader(const FolderReader&) = delete;
    FolderReader& operator=(const FolderReader&) = delete;
    // `name` is relative to the folder, UTF-8 with "/" between names: read in a loop, it
    // becomes a path only for an error.
    [[nodiscard]] FileResult<Bytes> Read(const std::string& name, std::uint64_t maxBytes) const;

  private:
    std::filesystem::path folder_;
    [[maybe_unused]] int fd_ = -1; // POSIX: the open folder (Windows reads by the whole path)
};

struct WrittenTemp {
    std::filesystem::path path;
    std::uint64_t size = 0;
    std::uint32_t crc32 = 0; // of the bytes written
};

// Writes `bytes` to a new, uniquely named file beside `target` (never through an existing
// entry), flushed to the disk with its folder. It takes the mode of `target` and, when run
// by an administrator, its owner. ReadOnly or NotRegular when `target` could not be replaced;
// then nothing is written.
[[nodiscard]] FileResult<WrittenTemp> WriteTempBeside(const std::filesystem::path& target,
                                                      const Bytes& bytes);

// True for the names WriteTempBeside gives: "<target name>.adultify-new-" and 16 hex digits.
[[nodiscard]] bool IsTempName(const std::string& fileName);
// True when `fileName` is such a name given beside a file named `targetName`.
[[nodiscard]] bool IsTempNameFor(const std::string& fileName, const std::string& targetName);

// Creates `path` holding `bytes`, flushed with its folder; NameTaken when any entry has it.
// Without `flushContents` only the name is made durable: for a file whose reader takes
// contents a crash left torn or empty as damaged, and copes.
FileStatus WriteNewFile(const std::filesystem::path& path, const Bytes& bytes,
                        bool flushContents = true);

// Keeps the current contents of `existing` under `backup`: a hard link, or a flushed copy
// where links are not possible. NameTaken when `backup` names any entry; never replaces one.
FileStatus LinkBackup(const std::filesystem::path& existing, const std::filesystem::path& backup);

// Puts `temp` in place of `target` by one rename, flushed with the folder. ReadOnly (and
// nothing changed) when `target` is marked read-only.
FileStatus ReplaceWith(const std::filesystem::path& temp, const std::filesystem::path& target);

// Removes one file, flushed with its folder; succeeds when it is already gone.
FileStatus RemoveFile(const std::filesystem::path& path);

// True when any entry (a dangling link, a folder, a file nobody may read) has the name.
// An error when the folder cannot be searched, so that no name is wrongly called free.
[[nodiscard]] FileResult<bool> EntryExists(const std::filesystem::path& path);

// The names of a folder's entries ("." and ".." left out), in the order the system gives them.
// `ec` is set when the listing fails; the names before the failure are kept.
[[nodiscard]] std::vector<std::string> FolderNames(const std::filesystem::path& folder,
                                                   std::error_code& ec);

} // namespace adultify
