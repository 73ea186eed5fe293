#pragma once

#include "files/file_system.h"
#include "files/windows_path.h"

#include <functional>

namespace adultify {

// The machine's own file system, reached through the Windows-style path mapping.
class NativeFileSystem final : public FileSystem {
  public:
    explicit NativeFileSystem(WindowsPathMapper mapper = WindowsPathMapper());

    bool CanOpenForReading(const std::string& path) override;
    bool EntryExists(const std::string& path) override;
    bool IsDirectory(const std::string& path) override;
    FileResult<Bytes> ReadFile(const std::string& path, std::uint64_t maxBytes,
                               Bytes buffer = {}) override;
    FileResult<std::string> FreeBackupName(const std::string& baseName) override;
    FileStatus Replace(const std::string& gameFolder,
                       const std::vector<Replacement>& changes) override;
    FileResult<std::unique_ptr<GameLock>> LockGame(const std::string& gameFolder) override;
    Recovery Recover(const std::string& gameFolder, const TempFolders& tempFolders,
                     const BeforeReplacing& beforeReplacing) override;
    FileStamp Stamp(const std::string& path, const Bytes& bytesRead) override;
    Change CompareWithRead(const std::string& path, const FileStamp& stamp) override;
    std::vector<std::string> List(const std::string& folder) override;
    std::string NativePath(const std::string& path) override;
    void HoldListings(bool held) override { mapper_.HoldListings(held); }

    // Paths are mapped through another prefix's drives from now on.
    void UseMapper(WindowsPathMapper mapper);

    // Runs after each step of a replacement that changes the disk; tests stop the program
    // there to show that the next start finds every file whole.
    std::function<void()> afterReplaceStep;

  private:
    // `found` as WindowsPathMapper::ToNative sets it. The answer is the one kept for the next
    // call: it holds until the next Resolve or Changed.
    [[nodiscard]] const std::filesystem::path& Resolve(const std::string& path,
                                                       bool* found = nullptr) const;
    void Changed(const std::filesystem::path& folder);

    WindowsPathMapper mapper_;
    // A file is tested and then read under the same path: resolve it once for both.
    mutable std::string lastPath_;
    mutable std::filesystem::path lastNative_;
};

} // namespace adultify
