// The least a command can cost: each file it needs read once, whole, and for a writing
// command the new files written and flushed to the disk. Linked statically, so that no loader
// work is counted. read_floor [-w N] FILE...: with -w N, each of the first N files is written
// anew beside itself and renamed over itself, durably.
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool ReadWhole(const char* path, std::vector<unsigned char>& data) {
    const int fd = ::open(path, O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat st {};
    bool ok = ::fstat(fd, &st) == 0;
    if (ok) {
        data.resize(static_cast<std::size_t>(st.st_size));
        std::size_t got = 0;
        while (ok && got < data.size()) {
            const ssize_t n = ::read(fd, data.data() + got, data.size() - got);
            ok = n > 0;
            if (ok) got += static_cast<std::size_t>(n);
        }
    }
    ::close(fd);
    return ok;
}

// As a save replaces a file: a new file beside it, flushed, renamed over it, and the folder
// flushed so that the rename lasts. The bytes are the file's own, so it reads the same after.
bool WriteDurable(const std::string& path, const std::vector<unsigned char>& data) {
    const std::string temp = path + ".floor";
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = ::write(fd, data.data(), data.size()) == static_cast<ssize_t>(data.size());
    ok = ::fsync(fd) == 0 && ok;
    ok = ::close(fd) == 0 && ok;
    if (!ok || ::rename(temp.c_str(), path.c_str()) != 0) {
        (void)::unlink(temp.c_str());
        return false;
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return false;
    ok = ::fsync(dir) == 0;
    return ::close(dir) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    int first = 1;
    long writes = 0;
    if (argc > 2 && std::strcmp(argv[1], "-w") == 0) {
        writes = std::strtol(argv[2], nullptr, 10);
        first = 3;
    }
    std::vector<std::vector<unsigned char>> kept(static_cast<std::size_t>(writes));
    std::vector<unsigned char> data;
    for (int i = first; i < argc; ++i) {
        const long k = i - first;
        std::vector<unsigned char>& into = k < writes ? kept[static_cast<std::size_t>(k)] : data;
        if (!ReadWhole(argv[i], into)) return 1;
    }
    for (long k = 0; k < writes && first + k < argc; ++k)
        if (!WriteDurable(argv[first + k], kept[static_cast<std::size_t>(k)])) return 1;
    return 0;
}
