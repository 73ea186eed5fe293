#include "files/native_file_system.h"

#include "files/folder_lock.h"
#include "files/record_text.h"

#include <algorithm>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace adultify {

namespace fs = std::filesystem;

NativeFileSystem::NativeFileSystem(WindowsPathMapper mapper) : mapper_(std::move(mapper)) {}

void NativeFileSystem::UseMapper(WindowsPathMapper mapper) {
    mapper_ = std::move(mapper);
    lastPath_.clear();
    lastNative_.clear();
}

const fs::path& NativeFileSystem::Resolve(const std::string& path, bool* found) const {
#ifdef _WIN32
    (void)found; // a listing's spelling is no look at the entry itself
    // One listing per folder instead of a search of the folder per differently spelt name.
    if (path != lastPath_) {
        lastNative_ = mapper_.ListedSpelling(TextPath(path));
        lastPath_ = path;
    }
    return lastNative_;
#else
    if (path != lastPath_) {
        lastNative_ = mapper_.ToNative(path, found);
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
    const fs::path& native = Resolve(path);
    if (native.empty()) return false;
#ifdef _WIN32
    // One open: a folder cannot be opened this way, and a device or pipe is not a disk file.
    HANDLE h = ::CreateFileW(native.c_str(), GENERIC_READ,
                             FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    const bool file = ::GetFileType(h) == FILE_TYPE_DISK;
    ::CloseHandle(h);
    return file;
#else
    // Without waiting: a pipe planted where a file should be would block a plain open.
    const int fd = ::open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    const bool file = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    ::close(fd);
    return file;
#endif
}

bool NativeFileSystem::IsDirectory(const std::string& path) {
    const fs::path& native = Resolve(path);
    std::error_code ec;
    return !native.empty() && fs::is_directory(native, ec);
}

bool NativeFileSystem::EntryExists(const std::string& path) {
    bool found = false; // seen by the mapper just now: a second look would only repeat it
    const fs::path& native = Resolve(path, &found);
    if (native.empty()) return false;
    if (found) return true;
    const auto exists = adultify::EntryExists(native);
    return !exists || exists.value(); // a folder that cannot be searched counts as taken
}

FileResult<Bytes> NativeFileSystem::ReadFile(const std::string& path, std::uint64_t maxBytes,
                                             Bytes buffer) {
    const fs::path& native = Resolve(path);
    if (native.empty()) return FileError{FileErrorKind::NotFound, "no such drive", path};
    return ReadRegularFile(native, maxBytes, std::move(buffer));
}

FileStamp NativeFileSystem::Stamp(const std::string& path, const Bytes& bytesRead) {
    return StampOf(Resolve(path), bytesRead);
}

Change NativeFileSystem::CompareWithRead(const std::string& path, const FileStamp& stamp) {
    const fs::path& native = Resolve(path);
    return native.empty() ? Change::Gone : CompareWithDisk(native, stamp);
}

FileResult<std::string> NativeFileSystem::FreeBackupName(const std::string& baseName) {
    constexpr int kBackups = 1000;
    for (int k = 0; k < kBackups; ++k) {
        const std::string digits = "00" + std::to_string(k);
        const std::string name = baseName + "." + digits.substr(digits.size() - 3);
        // Through the mapper, so that "neighborhood.000" takes the name as Windows would see it.
        const fs::path native = Resolve(name);
        if (native.empty()) return FileError{FileErrorKind::NotFound, "no such drive", name};
        const auto exists = adultify::EntryExists(native);
        if (!exists) return exists.error();
        if (!exists.value()) return name;
    }
    const std::string name = PathText(TextPath(baseName).filename());
    return FileError{FileErrorKind::NameTaken,
                     "All backup names " + name + ".000 to " + name +
                         ".999 are taken; move old backups away.",
                     baseName};
}

FileStatus NativeFileSystem::Replace(const std::string& gameFolder,
                                     const std::vector<Replacement>& changes) {
    std::vector<FileChange> native;
    native.reserve(changes.size());
    for (const Replacement& r : changes) {
        FileChange c{Resolve(r.path), r.bytes, std::nullopt, r.read};
        if (c.target.empty()) return FileError{FileErrorKind::NotFound, "no such drive", r.path};
        if (r.backup) c.backup = Resolve(*r.backup);
        native.push_back(std::move(c));
    }
    const fs::path folder = Resolve(gameFolder);
    FileStatus status = ReplaceTogether(folder, native, afterReplaceStep);
    for (const FileChange& c : native)
        Changed(c.target.parent_path());
    return status;
}

namespace {
class NativeGameLock final : public GameLock {
  public:
    explicit NativeGameLock(FolderLock lock) : lock_(std::move(lock)) {}

  private:
    FolderLock lock_;
};
} // namespace

FileResult<std::unique_ptr<GameLock>> NativeFileSystem::LockGame(const std::string& gameFolder) {
    auto lock = FolderLock::Take(Resolve(gameFolder));
    if (!lock) return lock.error();
    std::unique_ptr<GameLock> held = std::make_unique<NativeGameLock>(std::move(lock.value()));
    return held;
}

Recovery NativeFileSystem::Recover(const std::string& gameFolder, const TempFolders& tempFolders,
                                   const BeforeReplacing& beforeReplacing) {
    RecoveryHooks hooks{{}, beforeReplacing};
    if (tempFolders) {
        hooks.tempFolders = [&] {
            std::vector<fs::path> native;
            for (const std::string& temps : tempFolders())
                if (fs::path path = Resolve(temps); !path.empty())
                    native.push_back(std::move(path));
            return native;
        };
    }
    const fs::path folder = Resolve(gameFolder);
    Recovery r = RecoverIntent(folder, hooks);
    if (r.found) Changed(folder);
    lastPath_.clear();
    return r;
}

std::vector<std::string> NativeFileSystem::List(const std::string& folder) {
    std::error_code ec;
    std::vector<std::string> names = FolderNames(Resolve(folder), ec);
    std::sort(names.begin(), names.end());
    return names;
}

#ifdef _WIN32
namespace {
// The disk's own spelling of an existing file or folder, as Windows names it: the letter case
// of its entries and the long form of short names. Empty when it cannot be opened.
fs::path DiskSpelling(const fs::path& path) {
    HANDLE h =
        ::CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                      nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (h == INVALID_HANDLE_VALUE) return {};
    std::wstring name(MAX_PATH, L'\0');
    DWORD n = ::GetFinalPathNameByHandleW(h, name.data(), static_cast<DWORD>(name.size()),
                                          FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (n >= name.size()) {
        name.resize(n);
        n = ::GetFinalPathNameByHandleW(h, name.data(), static_cast<DWORD>(name.size()),
                                        FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    }
    ::CloseHandle(h);
    if (n == 0 || n >= name.size()) return {};
    name.resize(n);
    // "\\?\C:\..." for a drive, "\\?\UNC\server\..." for a share.
    if (name.rfind(L"\\\\?\\UNC\\", 0) == 0) return fs::path(L"\\\\" + name.substr(8));
    if (name.rfind(L"\\\\?\\", 0) == 0) return fs::path(name.substr(4));
    return fs::path(name);
}
} // namespace
#endif

std::string NativeFileSystem::NativePath(const std::string& path) {
    const fs::path native = Resolve(path);
    if (native.empty()) return path;
#ifdef _WIN32
    const fs::path disk = DiskSpelling(native);
    if (!disk.empty()) {
        std::string text = PathText(disk);
        const bool folderMark = !path.empty() && (path.back() == '\\' || path.back() == '/');
        if (folderMark && !text.empty() && text.back() != '\\') text += '\\';
        return text;
    }
#endif
    return PathText(native);
}

} // namespace adultify
