#include "files/file_stamp.h"

#include "files/safe_file.h"

#include <limits>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <sys/stat.h>
#endif

namespace adultify {

namespace {

// Stands for "unknown": no file's last-write time is this far before the epoch.
constexpr std::int64_t kNoTime = std::numeric_limits<std::int64_t>::min();

struct DiskState {
    bool gone = false;  // nothing has the name
    bool known = false; // a regular file whose size and time were read
    std::uint64_t size = 0;
    std::int64_t mtimeNs = kNoTime;
};

DiskState StatOf(const std::filesystem::path& path) {
    DiskState state;
#ifdef _WIN32
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        const DWORD err = ::GetLastError();
        state.gone = err == ERROR_FILE_NOT_FOUND || err == ERROR_PATH_NOT_FOUND;
        return state;
    }
    if (data.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_DEVICE)) return state;
    state.size = (std::uint64_t{data.nFileSizeHigh} << 32) | data.nFileSizeLow;
    const std::uint64_t ticks = (std::uint64_t{data.ftLastWriteTime.dwHighDateTime} << 32) |
                                data.ftLastWriteTime.dwLowDateTime; // 100 ns since 1601
    // From 1970 as on Linux: nanoseconds from 1601 overflow 64 bits since 1893.
    constexpr std::int64_t kTicksTo1970 = 116'444'736'000'000'000;
    state.mtimeNs = (static_cast<std::int64_t>(ticks) - kTicksTo1970) * 100;
#else
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        state.gone = errno == ENOENT || errno == ENOTDIR;
        return state;
    }
    if (!S_ISREG(st.st_mode)) return state;
    state.size = static_cast<std::uint64_t>(st.st_size);
    state.mtimeNs =
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
#endif
    state.known = true;
    return state;
}

} // namespace

std::uint64_t Fnv1a64(const Bytes& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325u;
    for (const std::uint8_t byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3u;
    }
    return hash;
}

FileStamp StampOf(const std::filesystem::path& path, const Bytes& bytesRead) {
    const DiskState disk = StatOf(path);
    return {disk.known ? disk.size : bytesRead.size(), disk.known ? disk.mtimeNs : kNoTime,
            Fnv1a64(bytesRead)};
}

Change CompareWithDisk(const std::filesystem::path& path, const FileStamp& stamp) {
    const DiskState disk = StatOf(path);
    if (disk.gone) return Change::Gone;
    if (!disk.known || stamp.mtimeNs == kNoTime) return Change::Changed;
    if (disk.size != stamp.size || disk.mtimeNs != stamp.mtimeNs) return Change::Changed;
    // Equal size and time still re-hash: a same-size rewrite within one tick of a coarse
    // clock (2 s on FAT, a timer tick on Linux) or with its time put back looks unchanged,
    // and hashing a neighbourhood of a few MB costs a few milliseconds.
    auto bytes = ReadRegularFile(path, stamp.size);
    if (!bytes)
        return bytes.error().kind == FileErrorKind::NotFound ? Change::Gone : Change::Changed;
    return Fnv1a64(bytes.value()) == stamp.hash ? Change::Same : Change::Changed;
}

} // namespace adultify
