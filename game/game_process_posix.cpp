#include "game/game_process.h"

#include "files/unique_fd.h"
#include "text/ascii.h"

#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <string_view>
#include <vector>

namespace adultify {

namespace {

class Dir {
  public:
    explicit Dir(DIR* dir) : dir_(dir) {}
    ~Dir() {
        if (dir_) ::closedir(dir_);
    }
    Dir(const Dir&) = delete;
    Dir& operator=(const Dir&) = delete;
    [[nodiscard]] DIR* get() const { return dir_; }

  private:
    DIR* dir_;
};

// Plenty for the program and its first arguments; a longer command line is cut, not refused.
constexpr std::size_t kCommandLineLimit = std::size_t{64} * 1024;

// Empty when the file is missing (the process ended), unreadable, or empty (kernel threads).
void ReadCommandLine(int procFd, const std::string& pid, std::string& out) {
    out.clear();
    UniqueFd fd(::openat(procFd, (pid + "/cmdline").c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) return;
    char buffer[4096];
    while (out.size() < kCommandLineLimit) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
}

std::vector<std::string_view> Arguments(std::string_view commandLine) {
    std::vector<std::string_view> args;
    while (!commandLine.empty()) {
        const std::size_t end = commandLine.find('\0');
        args.push_back(commandLine.substr(0, end));
        if (end == std::string_view::npos) break;
        commandLine.remove_prefix(end + 1);
    }
    return args;
}

bool IsWineLoader(std::string_view path) {
    const std::string_view name = FileNamePart(path);
    for (const char* loader : {"wine", "wine64", "wine-preloader", "wine64-preloader"})
        if (EqualIgnoringCase(name, loader)) return true;
    return false;
}

// The program is the first argument that is not a Wine loader: Wine puts the Windows path
// in argv[0] once started, and before that it follows the loaders. Later arguments are
// only files handed to some other program (an editor, Proton's launcher script).
bool RunsTheGame(const std::vector<std::string_view>& args) {
    for (std::string_view arg : args)
        if (!IsWineLoader(arg)) return NamesTheGame(arg);
    return false;
}

std::string Joined(const std::vector<std::string_view>& args) {
    std::string out;
    for (std::string_view arg : args) {
        if (!out.empty()) out += ' ';
        out += arg;
    }
    return out;
}

bool IsPid(const char* name) {
    if (*name == '\0') return false;
    for (; *name; ++name)
        if (*name < '0' || *name > '9') return false;
    return true;
}

} // namespace

std::optional<RunningGame> FindRunningGame(const std::filesystem::path& procRoot) {
    Dir proc(::opendir(procRoot.c_str()));
    if (!proc.get()) return std::nullopt;
    const int procFd = ::dirfd(proc.get());
    std::string pid;
    std::string commandLine;
    char exe[4096];
    while (const dirent* entry = ::readdir(proc.get())) {
        if (!IsPid(entry->d_name) || std::string_view(entry->d_name).size() > 9) continue;
        pid = entry->d_name;
        // Unreadable for other users' processes: then the arguments decide. Missing for kernel
        // threads and ended processes, whose command line is empty too: the exe link, one call,
        // spares them the open and read of half the process list.
        const ssize_t exeLength = ::readlinkat(procFd, (pid + "/exe").c_str(), exe, sizeof exe);
        if (exeLength < 0 && errno == ENOENT) continue;
        const std::string_view exePath(exe,
                                       exeLength > 0 ? static_cast<std::size_t>(exeLength) : 0);
        ReadCommandLine(procFd, pid, commandLine);
        const std::vector<std::string_view> args = Arguments(commandLine);
        if (RunsTheGame(args) || (!exePath.empty() && NamesTheGame(exePath)))
            return RunningGame{std::stoi(pid), args.empty() ? std::string(exePath) : Joined(args)};
    }
    return std::nullopt;
}

} // namespace adultify
