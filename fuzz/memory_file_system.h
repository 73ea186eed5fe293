#pragma once
// A game folder held in memory, so that an input costs no disk access. Paths match without
// regard to ASCII case or the kind of slash, as the game's folders do under Wine.

#include "files/file_system.h"

#include <map>
#include <optional>
#include <set>
#include <string>

namespace adultify::fuzz {

class MemoryFileSystem final : public FileSystem {
  public:
    void Put(const std::string& path, Bytes data);
    // Every ".iff" file of `folder` that was not written otherwise reads as `data`, so that
    // one input serves each resident whatever names the neighbourhood gives.
    void PutAnyFileIn(const std::string& folder, Bytes data);
    [[nodiscard]] std::optional<Bytes> Get(const std::string& path) const;

    bool CanOpenForReading(const std::string& path) override;
    bool EntryExists(const std::string& path) override { return CanOpenForReading(path); }
    bool IsDirectory(const std::string& path) override;
    FileResult<Bytes> ReadFile(const std::string& path, std::uint64_t maxBytes,
                               Bytes buffer = {}) override;
    FileResult<std::string> FreeBackupName(const std::string& baseName) override;
    FileStatus Replace(const std::string& gameFolder,
                       const std::vector<Replacement>& changes) override;
    FileResult<std::unique_ptr<GameLock>> LockGame(const std::string& gameFolder) override;
    Recovery Recover(const std::string&, const TempFolders&, const BeforeReplacing&) override {
        return {};
    }
    FileStamp Stamp(const std::string& path, const Bytes& bytesRead) override;
    Change CompareWithRead(const std::string& path, const FileStamp& stamp) override;
    std::vector<std::string> List(const std::string& folder) override;
    std::string NativePath(const std::string& path) override { return path; }

  private:
    struct Entry {
        std::string path; // as first written
        Bytes data;
    };
    [[nodiscard]] static std::string Key(std::string_view path);
    [[nodiscard]] bool InAnyFolder(const std::string& key) const;
    [[nodiscard]] const Bytes* Find(const std::string& key) const;

    std::map<std::string, Entry> files_;
    std::string anyFolder_; // a key ending with a backslash; empty for none
    Bytes anyData_;
    std::set<std::string> gone_; // removed or renamed away from the folder's stand-in
};

} // namespace adultify::fuzz
