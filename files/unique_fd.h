#pragma once
// A POSIX file descriptor closed when it goes out of scope.

#ifndef _WIN32
#include <unistd.h>

#include <utility>

namespace adultify {

class UniqueFd {
  public:
    explicit UniqueFd(int fd) : fd_(fd) {}
    ~UniqueFd() {
        if (fd_ >= 0) ::close(fd_);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    [[nodiscard]] int get() const { return fd_; }
    // Closes now, so that a failing close (a delayed write error) can be reported.
    [[nodiscard]] int Close() { return ::close(std::exchange(fd_, -1)); }

  private:
    int fd_;
};

} // namespace adultify
#endif
