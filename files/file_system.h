#pragma once
// The file-system seam. Paths are the program's own Windows-style paths (UTF-8); an
// implementation maps them to what the machine really has. Nothing here ever leaves a file
// the game needs absent or partial: files are replaced whole, together, by renames recorded
// so that a run stopped half-way is finished at the next start.

#include "files/file_stamp.h"
#include "files/intent_record.h"
#include "files/safe_file.h"
#include "iff/byte_string.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace adultify {

// Limits far above any real file (a neighbourhood of 216 residents is about 0.6 MB, character
// files stay under 0.4 MB), so that a damaged or hostile file is refused before it is read.
inline constexpr std::uint64_t kLargestNeighbourhood = 64u << 20;
inline constexpr std::uint64_t kLargestCharacterFile = 16u << 20;

struct Replacement {
    std::string path;
    Bytes bytes;
    std::optional<std::string> backup; // a free name that keeps the file being replaced
    // What was read of the file being replaced right before, as FileChange::read.
    std::optional<TargetRead> read = std::nullopt;
};

// Every folder saves write their temps into, asked for only when it is needed.
using TempFolders = std::function<std::vector<std::string>()>;

// Held while this run may write into a game folder; released when destroyed.
class GameLock {
  public:
    virtual ~GameLock() = default;
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // True when the path names a file that can be opened for reading. Folders are not files.
    [[nodiscard]] virtual bool CanOpenForReading(const std::string& path) = 0;
    // True when any entry has the name: a file, a folder, a pipe, a dangling link.
    [[nodiscard]] virtual bool EntryExists(const std::string& path) = 0;
    [[nodiscard]] virtual bool IsDirectory(const std::string& path) = 0;
    // The whole file, when it is a regular file of at most `maxBytes`; never waits on a pipe.
    // The bytes go into `buffer`'s room where it has enough (ReadRegularFile says why).
    [[nodiscard]] virtual FileResult<Bytes> ReadFile(const std::string& path,
                                                     std::uint64_t maxBytes, Bytes buffer = {}) = 0;
    // The first of baseName.000 to baseName.999 that no entry of any kind has.
    [[nodiscard]] virtual FileResult<std::string> FreeBackupName(const std::string& baseName) = 0;
    // Replaces every file, each kept under its backup name first when one is given: all of
    // them or none, also when the program is stopped half-way (the record of the replacement
    // lies in `gameFolder` until it is done). A read-only file is refused untouched.
    virtual FileStatus Replace(const std::string& gameFolder,
                               const std::vector<Replacement>& changes) = 0;
    // One writer per game folder: Locked when another run holds it.
    [[nodiscard]] virtual FileResult<std::unique_ptr<GameLock>>
    LockGame(const std::string& gameFolder) = 0;
    // Finishes a replacement an earlier run left recorded in `gameFolder`, or removes what it
    // left unfinished (its temps, looked for where its marker says, or in every folder
    // `tempFolders` gives when that is not known); what was done, in words.
    [[nodiscard]] virtual Recovery Recover(const std::string& gameFolder,
                                           const TempFolders& tempFolders,
                                           const BeforeReplacing& beforeReplacing) = 0;
    // What the file is right after `bytesRead` were read from it, and whether it still is: a
    // save then knows whether something else (the game) wrote it since.
    [[nodiscard]] virtual FileStamp Stamp(const std::string& path, const Bytes& bytesRead) = 0;
    [[nodiscard]] virtual Change CompareWithRead(const std::string& path,
                                                 const FileStamp& stamp) = 0;
    // The names in a folder, sorted; empty when it cannot be listed.
    [[nodiscard]] virtual std::vector<std::string> List(const std::string& folder) = 0;
    // The machine's own spelling of the path, for showing to people.
    [[nodiscard]] virtual std::string NativePath(const std::string& path) = 0;
    // While held, a folder whose listing was checked once is not looked at again for each
    // file: a change made meanwhile races with the reading either way.
    virtual void HoldListings(bool /*held*/) {}
};

// HoldListings for as long as it lives: the files of one folder read as one.
class ListingsHeld {
  public:
    explicit ListingsHeld(FileSystem& fs) : fs_(fs) { fs_.HoldListings(true); }
    ~ListingsHeld() { fs_.HoldListings(false); }
    ListingsHeld(const ListingsHeld&) = delete;
    ListingsHeld& operator=(const ListingsHeld&) = delete;

  private:
    FileSystem& fs_;
};

} // namespace adultify
