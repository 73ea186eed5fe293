#include "files/file_stamp_platform.h"

#include <cerrno>
#include <sys/stat.h>

namespace adultify {

DiskState StatOf(const std::filesystem::path& path) {
    DiskState state;
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) {
        state.gone = errno == ENOENT || errno == ENOTDIR;
        return state;
    }
    if (!S_ISREG(st.st_mode)) return state;
    state.size = static_cast<std::uint64_t>(st.st_size);
    state.mtimeNs =
        static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec;
    state.known = true;
    return state;
}

} // namespace adultify
