#include "files/folder_lock.h"

#include "files/folder_lock_platform.h"
#include "files/safe_file_platform.h"

#include <windows.h>

namespace adultify {

FolderLock::Native FolderLock::NoLock() {
    return INVALID_HANDLE_VALUE;
}

FileResult<FolderLock> FolderLock::Take(const std::filesystem::path& gameFolder) {
    const std::filesystem::path path = LockFile(gameFolder);
    HANDLE h = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_ALWAYS, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD code = ::GetLastError();
        const bool missing = code == ERROR_PATH_NOT_FOUND || code == ERROR_FILE_NOT_FOUND;
        return FileError{missing ? FileErrorKind::NotFound : FileErrorKind::WriteFailed,
                         platform::SystemWords(code), path};
    }
    OVERLAPPED at{};
    at.Offset = kLockedOffset;
    if (!::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, kLockedLength, 0,
                      &at)) {
        const DWORD code = ::GetLastError();
        ::CloseHandle(h);
        return LockRefused(path, code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING,
                           platform::SystemWords(code));
    }
    return FolderLock(h);
}

void FolderLock::Release() {
    if (handle_ == NoLock()) return;
    OVERLAPPED at{};
    at.Offset = kLockedOffset;
    ::UnlockFileEx(handle_, 0, kLockedLength, 0, &at);
    ::CloseHandle(handle_);
    handle_ = NoLock();
}

} // namespace adultify
