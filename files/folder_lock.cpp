#include "files/folder_lock.h"

#include <utility>

namespace adultify {

std::filesystem::path FolderLock::LockFile(const std::filesystem::path& gameFolder) {
    return gameFolder / ".adultify.lock";
}

FolderLock::FolderLock(FolderLock&& other) noexcept
    : handle_(std::exchange(other.handle_, NoLock())) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = std::exchange(other.handle_, NoLock());
    }
    return *this;
}

bool FolderLock::Held() const {
    return handle_ != NoLock();
}

FolderLock::~FolderLock() {
    Release();
}

} // namespace adultify
