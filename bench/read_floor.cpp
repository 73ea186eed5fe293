// The least a command can cost: each file it needs read once, whole, and for a writing
// command the new files written and flushed to the disk. Linked statically, so that no loader
// work is counted. read_floor [-w N [-s DIR] [-b BACKUP]] FILE...: with -w N, each of the
// first N files is written anew beside itself and renamed over itself, durably. -s DIR first
// keeps a copy of each of them and a short record in a new folder DIR, as an undo snapshot
// is kept; -b BACKUP links the first of them to a second name before it is replaced, as a
// numbered backup is made.
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

bool FlushFolder(const std::string& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir < 0) return false;
    const bool ok = ::fsync(dir) == 0;
    return ::close(dir) == 0 && ok;
}

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash + 1);
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
    return FlushFolder(FolderOf(path));
}

bool WriteNew(const std::string& path, const unsigned char* data, std::size_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = ::write(fd, data, size) == static_cast<ssize_t>(size);
    ok = ::fsync(fd) == 0 && ok;
    return ::close(fd) == 0 && ok;
}

// A new folder holding a copy of each file and a record of about the size a snapshot's is.
bool KeepSnapshot(const std::string& folder, const std::vector<std::vector<unsigned char>>& files) {
    if (::mkdir(folder.c_str(), 0755) != 0) return false;
    if (!FlushFolder(FolderOf(folder))) return false;
    const std::vector<unsigned char> record(300, 'r');
    if (!WriteNew(folder + "/snapshot.txt", record.data(), record.size())) return false;
    for (std::size_t k = 0; k < files.size(); ++k)
        if (!WriteNew(folder + "/" + std::to_string(k), files[k].data(), files[k].size()))
            return false;
    return FlushFolder(folder);
}

} // namespace

int main(int argc, char** argv) {
    int first = 1;
    long writes = 0;
    const char* snapshot = nullptr;
    const char* backup = nullptr;
    for (; first + 1 < argc && argv[first][0] == '-'; first += 2) {
        if (std::strcmp(argv[first], "-w") == 0)
            writes = std::strtol(argv[first + 1], nullptr, 10);
        else if (std::strcmp(argv[first], "-s") == 0)
            snapshot = argv[first + 1];
        else if (std::strcmp(argv[first], "-b") == 0)
            backup = argv[first + 1];
        else
            return 2;
    }
    std::vector<std::vector<unsigned char>> kept(static_cast<std::size_t>(writes));
    std::vector<unsigned char> data;
    for (int i = first; i < argc; ++i) {
        const long k = i - first;
        std::vector<unsigned char>& into = k < writes ? kept[static_cast<std::size_t>(k)] : data;
        if (!ReadWhole(argv[i], into)) return 1;
    }
    if (snapshot && !KeepSnapshot(snapshot, kept)) return 1;
    if (backup && writes > 0 && ::link(argv[first], backup) != 0) return 1;
    for (long k = 0; k < writes && first + k < argc; ++k)
        if (!WriteDurable(argv[first + k], kept[static_cast<std::size_t>(k)])) return 1;
    return 0;
}
