#include "files/file_stamp_platform.h"

#include <windows.h>

namespace adultify {

DiskState StatOf(const std::filesystem::path& path) {
    DiskState state;
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
    state.known = true;
    return state;
}

} // namespace adultify
