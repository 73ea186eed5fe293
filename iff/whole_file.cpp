#include "iff/whole_file.h"

namespace adultify {

std::optional<Bytes> ReadWholeFile(FileSystem& fs, const std::string& path, std::string* reason) {
    return fs.Read(path, reason);
}

IoResult WriteWholeFile(FileSystem& fs, const std::string& path, const Bytes& data) {
    return ReplaceFile(fs, path, data);
}

} // namespace adultify
