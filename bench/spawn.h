#pragma once
// Starting a whole program from a benchmark and waiting for it, with its cost as the kernel
// counts it.

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace adultify::bench {

struct Cost {
    int exitCode = 0;
    double cpuMs = 0;
    long peakKb = 0;
};

// Starts argv with both its output streams into the file `out` and waits; nothing when it
// failed to start or was killed.
inline std::optional<Cost> Spawn(const std::vector<std::string>& argv,
                                 const std::string& out = "/dev/null") {
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    pid_t pid = 0;
    const int started = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (started != 0) return std::nullopt;
    int status = 0;
    struct rusage use {};
    if (::wait4(pid, &status, 0, &use) != pid || !WIFEXITED(status)) return std::nullopt;
    auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
    return Cost{WEXITSTATUS(status), ms(use.ru_utime) + ms(use.ru_stime), use.ru_maxrss};
}

} // namespace adultify::bench
