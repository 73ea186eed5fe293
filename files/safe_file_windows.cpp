#include "files/safe_file.h"
#include "files/safe_file_platform.h"
#include "text/path_text.h"
#include "text/wide_text.h"

#include <windows.h>

#include <algorithm>

namespace adultify {

namespace fs = std::filesystem;

namespace {

class Handle {
  public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() {
        if (valid()) ::CloseHandle(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    [[nodiscard]] bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    [[nodiscard]] HANDLE get() const { return h_; }
    [[nodiscard]] bool Close() { return ::CloseHandle(std::exchange(h_, INVALID_HANDLE_VALUE)); }

  private:
    HANDLE h_;
};

} // namespace

std::string platform::SystemWords(unsigned long code) {
    wchar_t text[512];
    DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                               code, 0, text, static_cast<DWORD>(std::size(text)), nullptr);
    while (n > 0 && (text[n - 1] == L'\r' || text[n - 1] == L'\n' || text[n - 1] == L' '))
        --n;
    if (n == 0) return "system error " + std::to_string(code);
    return Narrow(std::wstring_view(text, n));
}

namespace {

using platform::SystemWords;

bool InUse(DWORD code) {
    return code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION;
}

// Taken right after the failing call, before anything else can change the last error.
FileError Failure(DWORD code, const fs::path& path, FileErrorKind otherwise) {
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND ||
        code == ERROR_INVALID_DRIVE || code == ERROR_BAD_NETPATH)
        return {FileErrorKind::NotFound, SystemWords(code), path};
    if (code == ERROR_FILE_EXISTS || code == ERROR_ALREADY_EXISTS)
        return {FileErrorKind::NameTaken, SystemWords(code), path};
    if (InUse(code))
        return {FileErrorKind::InUse,
                "another program has the file open (the game?): close the game, then try "
                "again",
                path};
    return {otherwise, SystemWords(code), path};
}

// An anti-virus scan or the game's own access holds a file for a moment: try for about 2 s.
// The last error is the call's own when this returns false.
template <typename Call> bool Retrying(Call call) {
    for (int attempt = 0;; ++attempt) {
        if (call()) return true;
        if (attempt == 20 || !InUse(::GetLastError())) return false;
        ::Sleep(100);
    }
}

HANDLE Open(const fs::path& path, DWORD access, DWORD share, DWORD disposition, DWORD attributes) {
    return ::CreateFileW(path.c_str(), access, share, nullptr, disposition, attributes, nullptr);
}

FileError TooLarge(std::uint64_t maxBytes, const fs::path& path) {
    return {FileErrorKind::TooLarge,
            "it is larger than the " + std::to_string(maxBytes) + " bytes allowed", path};
}

FileStatus WriteAll(HANDLE file, std::span<const std::uint8_t> bytes, const fs::path& path) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD n = 0;
        if (!::WriteFile(file, bytes.data() + done, want, &n, nullptr))
            return Failure(::GetLastError(), path, FileErrorKind::WriteFailed);
        done += n;
    }
    return {};
}

} // namespace

// Windows looks each path up whole: the folder is only remembered.
FolderReader::FolderReader(fs::path folder) : folder_(std::move(folder)) {}

FolderReader::~FolderReader() = default;

FileResult<Bytes> FolderReader::Read(const std::string& name, std::uint64_t maxBytes) const {
    return ReadRegularFile(folder_ / TextPath(name), maxBytes);
}

FileResult<Bytes> ReadRegularFile(const fs::path& path, std::uint64_t maxBytes, Bytes data) {
    // No write sharing: a file the game is writing is reported as in use, not read half-done.
    // One open finds the file; only a failed one asks whether a folder has the name.
    HANDLE opened = INVALID_HANDLE_VALUE;
    if (!Retrying([&] {
            opened =
                Open(path, GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL);
            return opened != INVALID_HANDLE_VALUE;
        })) {
        const DWORD code = ::GetLastError();
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
            return FileError{FileErrorKind::NotRegular, "it is a folder, not a file", path};
        return Failure(code, path, FileErrorKind::Unreadable);
    }
    Handle file(opened);
    if (::GetFileType(file.get()) != FILE_TYPE_DISK)
        return FileError{FileErrorKind::NotRegular, "it is a device or pipe, not a file", path};
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.get(), &size))
        return Failure(::GetLastError(), path, FileErrorKind::Unreadable);
    if (static_cast<std::uint64_t>(size.QuadPart) > maxBytes) return TooLarge(maxBytes, path);

    platform::SizeForRead(data, static_cast<std::size_t>(size.QuadPart));
    std::size_t got = 0;
    while (got < data.size()) {
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(data.size() - got, 1u << 30));
        DWORD n = 0;
        if (!::ReadFile(file.get(), data.data() + got, want, &n, nullptr))
            return Failure(::GetLastError(), path, FileErrorKind::Unreadable);
        if (n == 0) break;
        got += n;
    }
    data.resize(got);
    return data;
}

FileResult<bool> EntryExists(const fs::path& path) {
    // A link's own attributes: a dangling link exists.
    if (::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    const DWORD code = ::GetLastError();
    if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return false;
    return Failure(code, path, FileErrorKind::Unreadable);
}

std::vector<std::string> FolderNames(const fs::path& folder, std::error_code& ec) {
    std::vector<std::string> names;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(PathText(it->path().filename()));
    return names;
}

namespace platform {

FileStatus CreateExclusive(const fs::path& path, const Pieces& pieces, const fs::path* like,
                           bool flush) {
    DWORD attributes = FILE_ATTRIBUTE_NORMAL;
    if (like) {
        const DWORD old = ::GetFileAttributesW(like->c_str());
        constexpr DWORD kKept =
            FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
        if (old != INVALID_FILE_ATTRIBUTES && (old & kKept)) attributes = old & kKept;
    }
    // CREATE_NEW fails on any existing name, a planted link included.
    Handle file(Open(path, GENERIC_WRITE, 0, CREATE_NEW, attributes));
    if (!file.valid()) return Failure(::GetLastError(), path, FileErrorKind::WriteFailed);

    FileStatus status =
        WritePieces(pieces, [&](auto piece) { return WriteAll(file.get(), piece, path); });
    if (status && flush && !::FlushFileBuffers(file.get()))
        status = Failure(::GetLastError(), path, FileErrorKind::WriteFailed);
    if (!file.Close() && status)
        status = Failure(::GetLastError(), path, FileErrorKind::WriteFailed);
    if (!status)
        ::DeleteFileW(path.c_str());
    else if (flush && fileSynced)
        fileSynced(path);
    return status;
}

FileStatus CheckReplaceable(const fs::path& target) {
    const DWORD attributes = ::GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = ::GetLastError();
        if (code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND) return {};
        return Failure(code, target, FileErrorKind::Unreadable);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY)
        return FileError{FileErrorKind::NotRegular, "it is a folder, not a file", target};
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return FileError{FileErrorKind::ReadOnly, "the file is marked read-only", target};
    // Held open without sharing its deletion (the game, a backup tool): found before the save
    // starts, since a backup link to such a file could not be removed again.
    const bool free = Retrying([&] {
        const Handle probe(Open(target, DELETE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS));
        return probe.valid();
    });
    if (!free) return Failure(::GetLastError(), target, FileErrorKind::WriteFailed);
    return {};
}

FileStatus HardLink(const fs::path& existing, const fs::path& link, bool& unsupported) {
    if (::CreateHardLinkW(link.c_str(), existing.c_str(), nullptr)) return {};
    const DWORD code = ::GetLastError();
    unsupported = code == ERROR_NOT_SAME_DEVICE || code == ERROR_INVALID_FUNCTION ||
                  code == ERROR_NOT_SUPPORTED || code == ERROR_TOO_MANY_LINKS;
    const bool taken = code == ERROR_ALREADY_EXISTS || code == ERROR_FILE_EXISTS;
    return Failure(code, taken ? link : existing, FileErrorKind::WriteFailed);
}

FileStatus Rename(const fs::path& from, const fs::path& to) {
    // A target another program holds open without sharing its deletion fails as access
    // denied, not as a sharing violation: the target is known not to be read-only here.
    DWORD code = ERROR_SUCCESS;
    for (int attempt = 0;; ++attempt) {
        if (::MoveFileExW(from.c_str(), to.c_str(),
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
            return {};
        code = ::GetLastError();
        const bool held = InUse(code) || code == ERROR_ACCESS_DENIED;
        if (!held) return Failure(code, to, FileErrorKind::WriteFailed);
        if (attempt == 20) break;
        ::Sleep(100);
    }
    return Failure(code == ERROR_ACCESS_DENIED ? ERROR_SHARING_VIOLATION : code, to,
                   FileErrorKind::WriteFailed);
}

FileStatus Remove(const fs::path& path) {
    const bool removed = Retrying([&] { return ::DeleteFileW(path.c_str()) != 0; });
    if (removed) return {};
    const DWORD code = ::GetLastError();
    if (code == ERROR_FILE_NOT_FOUND) return {};
    return Failure(code, path, FileErrorKind::WriteFailed);
}

// Windows flushes a folder's entries with MOVEFILE_WRITE_THROUGH and the file flushes.
void SyncFolder(const fs::path&) {}

} // namespace platform

} // namespace adultify
