#include "files/folder_lock.h"

#include "files/folder_lock_platform.h"
#include "files/safe_file_platform.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace adultify {

FolderLock::Native FolderLock::NoLock() {
    return -1;
}

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
        return LockRefused(path, err == EAGAIN || err == EACCES, std::strerror(err));
    }
    return FolderLock(fd);
}

void FolderLock::Release() {
    if (handle_ == NoLock()) return;
    ::close(handle_); // drops the lock
    handle_ = NoLock();
}

} // namespace adultify
