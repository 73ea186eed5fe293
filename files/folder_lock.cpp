#include "files/folder_lock.h"

#include "files/safe_file_platform.h"

#include <utility>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>
#endif

namespace adultify {

namespace {

constexpr const char* kHeldElsewhere = "another Adultify is editing this game";
// The bytes both builds lock: the Windows one with LockFileEx, this one with fcntl.
constexpr unsigned kLockedOffset = 0;
constexpr unsigned kLockedLength = 1;

#ifdef _WIN32
const HANDLE kNone = INVALID_HANDLE_VALUE;
#else
constexpr int kNone = -1;
#endif

} // namespace

std::filesystem::path FolderLock::LockFile(const std::filesystem::path& gameFolder) {
    return gameFolder / ".adultify.lock";
}

#ifdef _WIN32

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
    if (!::LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, kLockedLength, 0,
                      &at)) {
        const DWORD code = ::GetLastError();
        ::CloseHandle(h);
        if (code == ERROR_LOCK_VIOLATION || code == ERROR_IO_PENDING)
            return FileError{FileErrorKind::Locked, kHeldElsewhere, path};
        return FileError{FileErrorKind::WriteFailed, platform::SystemWords(code), path};
    }
    return FolderLock(h);
}

void FolderLock::Release() {
    if (handle_ == kNone) return;
    OVERLAPPED at{};
    ::UnlockFileEx(handle_, 0, kLockedLength, 0, &at);
    ::CloseHandle(handle_);
    handle_ = kNone;
}

#else

FileResult<FolderLock> FolderLock::Take(const std::filesystem::path& gameFolder) {
    const std::filesystem::path path = LockFile(gameFolder);
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC, 0666);
    if (fd < 0) {
        const int err = errno;
        return FileError{err == ENOENT ? FileErrorKind::NotFound : FileErrorKind::WriteFailed,
                         std::strerror(err), path};
    }
    // Wine's server turns LockFileEx into a POSIX record lock on the same bytes, so the Windows
    // build under Wine or Proton and this one exclude each other. An open-file-description
    // lock conflicts with those, and with a second open in this process, and unlike a
    // process-wide one it survives the closing of other descriptors of the file.
    struct flock range {};
    range.l_type = F_WRLCK;
    range.l_whence = SEEK_SET;
    range.l_start = kLockedOffset;
    range.l_len = kLockedLength;
    int rc;
    do
        rc = ::fcntl(fd, F_OFD_SETLK, &range);
    while (rc != 0 && errno == EINTR);
    if (rc != 0) {
        const int err = errno;
        ::close(fd);
        if (err == EAGAIN || err == EACCES)
            return FileError{FileErrorKind::Locked, kHeldElsewhere, path};
        return FileError{FileErrorKind::WriteFailed, std::strerror(err), path};
    }
    return FolderLock(fd);
}

void FolderLock::Release() {
    if (handle_ == kNone) return;
    ::close(handle_); // drops the lock
    handle_ = kNone;
}

#endif

FolderLock::FolderLock(FolderLock&& other) noexcept
    : handle_(std::exchange(other.handle_, kNone)) {}

FolderLock& FolderLock::operator=(FolderLock&& other) noexcept {
    if (this != &other) {
        Release();
        handle_ = std::exchange(other.handle_, kNone);
    }
    return *this;
}

bool FolderLock::Held() const {
    return handle_ != kNone;
}

FolderLock::~FolderLock() {
    Release();
}

} // namespace adultify
