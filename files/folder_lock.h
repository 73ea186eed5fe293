#pragma once
// One Adultify at a time per game folder: an advisory lock on the first byte of
// ".adultify.lock" in it, held by an open file so that it ends with the process however the
// process ends. The Linux and the Windows build (under Wine or Proton) lock the same byte, so
// each keeps the other out.

#include "files/safe_file.h"

#include <filesystem>

namespace adultify {

class FolderLock {
  public:
    // Never waits: Locked ("another Adultify is editing this game") when any other holder,
    // in this process or another, has it.
    [[nodiscard]] static FileResult<FolderLock> Take(const std::filesystem::path& gameFolder);

    FolderLock(FolderLock&& other) noexcept;
    FolderLock& operator=(FolderLock&& other) noexcept;
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;
    ~FolderLock();

    [[nodiscard]] bool Held() const;
    // Lets the next taker in; also done by the destructor and by the end of the process.
    void Release();

    // Left in place on release: removing it could part two takers on two different files.
    [[nodiscard]] static std::filesystem::path LockFile(const std::filesystem::path& gameFolder);

  private:
#ifdef _WIN32
    using Native = void*;
#else
    using Native = int;
#endif
    [[nodiscard]] static Native NoLock(); // the handle of no lock held
    explicit FolderLock(Native handle) : handle_(handle) {}

    Native handle_;
};

} // namespace adultify
