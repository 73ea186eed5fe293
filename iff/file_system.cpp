#include "iff/file_system.h"

namespace adultify {

std::string SidecarPath(const std::string& path) {
    return path + ".adultify-new";
}

IoResult ReplaceWholeFile(FileSystem& fs, const std::string& path, const Bytes& data) {
    const std::string sidecar = SidecarPath(path);
    if (auto r = fs.WriteNew(sidecar, data); !r) {
        (void)fs.Remove(sidecar);
        return r;
    }
    if (auto r = fs.Rename(sidecar, path); !r) {
        (void)fs.Remove(sidecar);
        return r;
    }
    return {};
}

} // namespace adultify
