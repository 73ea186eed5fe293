#include "iff/native_file_system.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <cstdio>
#include <io.h>
#else
#include <unistd.h>
#endif

namespace adultify {

namespace fs = std::filesystem;

namespace {

std::string SystemReason(int err) {
    return std::strerror(err);
}

#ifndef _WIN32
void SyncFolder(const fs::path& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

} // namespace

NativeFileSystem::NativeFileSystem(WindowsPathMapper mapper) : mapper_(std::move(mapper)) {}

fs::path NativeFileSystem::Resolve(const std::string& path) const {
#ifdef _WIN32
    return fs::u8path(path);
#else
    if (path != lastPath_) {
        lastNative_ = mapper_.ToNative(path);
        lastPath_ = path;
    }
    return lastNative_;
#endif
}

void NativeFileSystem::Changed(const fs::path& folder) {
    mapper_.Forget(folder);
    lastPath_.clear();
    lastNative_.clear();
}

bool NativeFileSystem::CanOpenForReading(const std::string& path) {
    const fs::path native = Resolve(path);
    if (native.empty()) return false;
#ifdef _WIN32
    std::error_code ec;
    if (!fs::is_regular_file(native, ec)) return false;
    std::ifstream in(native, std::ios::binary);
    return in.is_open();
#else
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    const bool file = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return file;
#endif
}

bool NativeFileSystem::IsDirectory(const std::string& path) {
    const fs::path native = Resolve(path);
    std::error_code ec;
    return !native.empty() && fs::is_directory(native, ec);
}

std::optional<Bytes> NativeFileSystem::Read(const std::string& path, std::string* reason) {
    const fs::path native = Resolve(path);
    // Each failure's reason is taken from the call that failed, before anything else runs.
    auto fail = [reason](std::string why) -> std::optional<Bytes> {
        if (reason) *reason = std::move(why);
        return std::nullopt;
    };
    if (native.empty()) return fail("no such drive");
#ifdef _WIN32
    const int fd = ::_wopen(native.c_str(), _O_RDONLY | _O_BINARY);
#else
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
#endif
    if (fd < 0) return fail(SystemReason(errno));
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) return fail(SystemReason(errno));
    Bytes data(static_cast<std::size_t>(st.st_size));
    std::size_t done = 0;
    while (done < data.size()) {
        const auto n = ::read(fd, data.data() + done, static_cast<unsigned>(data.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return fail(SystemReason(errno));
        if (n == 0) return fail("the file ended before its length, as it was being changed");
        done += static_cast<std::size_t>(n);
    }
    return data;
}

IoResult NativeFileSystem::WriteNew(const std::string& path, const Bytes& data) {
    const fs::path native = Resolve(path);
    if (native.empty()) return IoResult::Fail("no such drive");
#ifdef _WIN32
    std::FILE* f = _wfopen(native.c_str(), L"wb");
    if (!f) return IoResult::Fail(SystemReason(errno));
    const bool written = std::fwrite(data.data(), 1, data.size(), f) == data.size() &&
                         std::fflush(f) == 0 && _commit(_fileno(f)) == 0;
    const int err = errno;
    if (std::fclose(f) != 0 || !written) return IoResult::Fail(SystemReason(written ? errno : err));
    return {};
#else
    const int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return IoResult::Fail(SystemReason(errno));
    std::size_t done = 0;
    while (done < data.size()) {
        const ssize_t n = ::write(fd, data.data() + done, data.size() - done);
        if (n < 0) {
            if (errno == EINTR) continue;
            const int err = errno;
            ::close(fd);
            return IoResult::Fail(SystemReason(err));
        }
        done += static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        return IoResult::Fail(SystemReason(err));
    }
    if (::close(fd) != 0) return IoResult::Fail(SystemReason(errno));
    Changed(native.parent_path());
    return {};
#endif
}

IoResult NativeFileSystem::Rename(const std::string& from, const std::string& to) {
    const fs::path a = Resolve(from);
    const fs::path b = Resolve(to);
    if (a.empty() || b.empty()) return IoResult::Fail("no such drive");
    std::error_code ec;
    fs::rename(a, b, ec);
    if (ec) return IoResult::Fail(ec.message());
    Changed(a.parent_path());
    Changed(b.parent_path());
#ifndef _WIN32
    SyncFolder(b.parent_path());
#endif
    return {};
}

IoResult NativeFileSystem::Remove(const std::string& path) {
    const fs::path native = Resolve(path);
    std::error_code ec;
    if (native.empty() || !fs::remove(native, ec))
        return IoResult::Fail(ec ? ec.message() : "no such file");
    Changed(native.parent_path());
    return {};
}

std::vector<std::string> NativeFileSystem::List(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(Resolve(folder), ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::string NativeFileSystem::NativePath(const std::string& path) {
    const fs::path native = Resolve(path);
    return native.empty() ? path : native.string();
}

} // namespace adultify
