#include "files/safe_file.h"

#include "files/safe_file_platform.h"
#include "files/unique_fd.h"
#include "text/path_text.h"

#ifndef _WIN32

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace adultify {

namespace fs = std::filesystem;

namespace {

// Taken right after the failing call, before anything else can change errno.
FileError Failure(int err, const fs::path& path, FileErrorKind otherwise) {
    FileErrorKind kind = otherwise;
    if (err == ENOENT || err == ENOTDIR) kind = FileErrorKind::NotFound;
    if (err == EEXIST) kind = FileErrorKind::NameTaken;
    return {kind, std::strerror(err), path};
}

FileError NotRegular(mode_t mode, const fs::path& path) {
    const char* what = S_ISDIR(mode)    ? "it is a folder, not a file"
                       : S_ISFIFO(mode) ? "it is a pipe, not a file"
                       : S_ISSOCK(mode) ? "it is a socket, not a file"
                       : S_ISLNK(mode)  ? "it is a symbolic link, not a file"
                                        : "it is a device, not a file";
    return {FileErrorKind::NotRegular, what, path};
}

FileError TooLarge(std::uint64_t maxBytes, const fs::path& path) {
    return {FileErrorKind::TooLarge,
            "it is larger than the " + std::to_string(maxBytes) + " bytes allowed", path};
}

FileStatus WriteAll(int fd, std::span<const std::uint8_t> bytes, const fs::path& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Failure(errno, path, FileErrorKind::WriteFailed);
        done += static_cast<std::size_t>(n);
    }
    return {};
}

// Gives the new file what the replaced one had, so the game and its player keep access.
FileStatus TakeOwnerAndMode(int fd, const struct stat& like, const fs::path& path) {
    if (::geteuid() == 0) {
        if (::fchown(fd, like.st_uid, like.st_gid) != 0)
            return Failure(errno, path, FileErrorKind::WriteFailed);
    } else if (like.st_gid != ::getegid()) {
        (void)::fchown(fd, static_cast<uid_t>(-1), like.st_gid); // allowed only for own groups
    }
    if (::fchmod(fd, like.st_mode & 0777) != 0)
        return Failure(errno, path, FileErrorKind::WriteFailed);
    return {};
}

// errno is taken before the path is built: building it may set errno.
template <typename PathOf> FileError Unreadable(int err, const PathOf& pathOf) {
    return Failure(err, pathOf(), FileErrorKind::Unreadable);
}

// `name` from the folder `at` (AT_FDCWD: the working folder). `pathOf()` names it in an error,
// built only then: a folder's files are read in a loop.
template <typename PathOf>
FileResult<Bytes> ReadRegularFileAt(int at, const char* name, const PathOf& pathOf,
                                    std::uint64_t maxBytes, Bytes data) {
    // Refused by name first, so that a device is never opened at all.
    struct stat st {};
    if (::fstatat(at, name, &st, 0) != 0) return Unreadable(errno, pathOf);
    if (!S_ISREG(st.st_mode)) return NotRegular(st.st_mode, pathOf());
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) return TooLarge(maxBytes, pathOf());

    // Non-blocking: should the name turn into a pipe meanwhile, open returns at once.
    UniqueFd fd(::openat(at, name, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.get() < 0) {
        const int err = errno;
        return Failure(err, pathOf(),
                       err == ENXIO ? FileErrorKind::NotRegular : FileErrorKind::Unreadable);
    }
    if (::fstat(fd.get(), &st) != 0) return Unreadable(errno, pathOf);
    if (!S_ISREG(st.st_mode)) return NotRegular(st.st_mode, pathOf());
    if (static_cast<std::uint64_t>(st.st_size) > maxBytes) return TooLarge(maxBytes, pathOf());
    // O_NONBLOCK stays: it changes nothing for a regular file's reads.

    constexpr std::uint64_t kChunk = 1u << 16;
    // One byte more than the file holds, so that the read which finds its end needs no more
    // room: a file read whole is never copied into a larger buffer.
    platform::SizeForRead(data, static_cast<std::size_t>(st.st_size) + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == data.size()) { // the file has grown since fstat
            if (got > maxBytes) return TooLarge(maxBytes, pathOf());
            data.resize(got + std::min<std::uint64_t>(kChunk, maxBytes - got) + 1);
        }
        const ssize_t n = ::read(fd.get(), data.data() + got, data.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return Unreadable(errno, pathOf);
        if (n == 0) break;
        got += static_cast<std::size_t>(n);
        // Short of the room asked for: the end of a regular file, without a read to find it.
        if (got < data.size()) break;
    }
    data.resize(got);
    return data;
}

} // namespace

FileResult<Bytes> ReadRegularFile(const fs::path& path, std::uint64_t maxBytes, Bytes buffer) {
    return ReadRegularFileAt(
        AT_FDCWD, path.c_str(), [&] { return path; }, maxBytes, std::move(buffer));
}

FolderReader::FolderReader(fs::path folder)
    : folder_(std::move(folder)),
      fd_(::open(folder_.c_str(), O_RDONLY | O_DIRECTORY | O_NONBLOCK | O_CLOEXEC)) {}

FolderReader::~FolderReader() {
    if (fd_ >= 0) ::close(fd_);
}

FileResult<Bytes> FolderReader::Read(const std::string& name, std::uint64_t maxBytes) const {
    if (fd_ < 0) return ReadRegularFile(folder_ / TextPath(name), maxBytes);
    return ReadRegularFileAt(fd_, name.c_str(), [&] { return folder_ / TextPath(name); }, maxBytes,
                             {});
}

FileResult<bool> EntryExists(const fs::path& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0) return true;
    if (errno == ENOENT) return false;
    return Failure(errno, path, FileErrorKind::Unreadable);
}

// readdir's own names: a directory_iterator builds and parses a whole path for each entry.
std::vector<std::string> FolderNames(const fs::path& folder, std::error_code& ec) {
    ec.clear();
    std::vector<std::string> names;
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        ec.assign(errno, std::generic_category());
        return names;
    }
    for (;;) {
        errno = 0;
        const dirent* entry = ::readdir(dir);
        if (entry == nullptr) {
            if (errno != 0) ec.assign(errno, std::generic_category());
            break;
        }
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") names.emplace_back(name);
    }
    ::closedir(dir);
    return names;
}

namespace platform {

FileStatus CreateExclusive(const fs::path& path, const Pieces& pieces, const fs::path* like,
                           bool flush) {
    struct stat likeStat {};
    const bool hasLike = like && ::stat(like->c_str(), &likeStat) == 0 && S_ISREG(likeStat.st_mode);
    // O_EXCL fails on any existing entry, a planted link included; O_NOFOLLOW says so twice.
    UniqueFd fd(::open(path.c_str(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_NOCTTY | O_CLOEXEC,
                       hasLike ? 0600 : 0666));
    if (fd.get() < 0) return Failure(errno, path, FileErrorKind::WriteFailed);

    FileStatus status = hasLike ? TakeOwnerAndMode(fd.get(), likeStat, path) : FileStatus();
    if (status)
        status = WritePieces(pieces, [&](auto piece) { return WriteAll(fd.get(), piece, path); });
    if (status && flush && ::fsync(fd.get()) != 0)
        status = Failure(errno, path, FileErrorKind::WriteFailed);
    if (fd.Close() != 0 && status) status = Failure(errno, path, FileErrorKind::WriteFailed);
    if (!status)
        ::unlink(path.c_str()); // ours: O_EXCL made it
    else if (flush && fileSynced)
        fileSynced(path);
    return status;
}

FileStatus CheckReplaceable(const fs::path& target) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        const int err = errno;
        if (err == ENOENT || err == ENOTDIR) return {}; // a new file
        return Failure(err, target, FileErrorKind::Unreadable);
    }
    if (!S_ISREG(st.st_mode)) return NotRegular(st.st_mode, target);
    if (!(st.st_mode & S_IWUSR))
        return FileError{FileErrorKind::ReadOnly, "the file is marked read-only", target};
    return {};
}

FileStatus HardLink(const fs::path& existing, const fs::path& link, bool& unsupported) {
    // The link names the file itself even when `existing` is a symbolic link to it.
    if (::linkat(AT_FDCWD, existing.c_str(), AT_FDCWD, link.c_str(), AT_SYMLINK_FOLLOW) == 0)
        return {};
    const int err = errno;
    // ENOTSUP and EOPNOTSUPP are one number on Linux, two elsewhere.
    constexpr int kNoLinksHere[] = {EPERM, EXDEV, ENOTSUP, EOPNOTSUPP, EMLINK, ENOSYS};
    unsupported =
        std::find(std::begin(kNoLinksHere), std::end(kNoLinksHere), err) != std::end(kNoLinksHere);
    return Failure(err, err == EEXIST ? link : existing, FileErrorKind::WriteFailed);
}

FileStatus Rename(const fs::path& from, const fs::path& to) {
    if (::rename(from.c_str(), to.c_str()) == 0) return {};
    const int err = errno;
    if (err == EISDIR) return NotRegular(S_IFDIR, to);
    return Failure(err, err == ENOENT ? from : to, FileErrorKind::WriteFailed);
}

FileStatus Remove(const fs::path& path) {
    if (::unlink(path.c_str()) == 0 || errno == ENOENT) return {};
    const int err = errno;
    if (err == EISDIR) return NotRegular(S_IFDIR, path);
    return Failure(err, path, FileErrorKind::WriteFailed);
}

void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    (void)::fsync(fd);
    ::close(fd);
}

} // namespace platform

} // namespace adultify

#endif
