#pragma once
// Wraps a file system and fails one chosen replacement as a full disk would, to prove that a
// failed save changes nothing and says so; or refuses the game's lock as another run would;
// counts the opens of each file.

#include "files/native_file_system.h"

#include <map>

namespace adultify::test {

class FaultyFileSystem final : public FileSystem {
  public:
    explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

    int failAt = -1; // the n-th replacement (0-based) fails; -1: none
    int operations = 0;
    bool heldByAnotherRun = false;    // the game's lock is refused as another run's
    std::map<std::string, int> opens; // by path as the program names it

    bool CanOpenForReading(const std::string& p) override {
        ++opens[p];
        return inner_.CanOpenForReading(p);
    }
    bool EntryExists(const std::string& p) override { return inner_.EntryExists(p); }
    bool IsDirectory(const std::string& p) override { return inner_.IsDirectory(p); }
    FileResult<Bytes> ReadFile(const std::string& p, std::uint64_t max,
                               Bytes buffer = {}) override {
        ++opens[p];
        return inner_.ReadFile(p, max, std::move(buffer));
    }
    FileResult<std::string> FreeBackupName(const std::string& base) override {
        return inner_.FreeBackupName(base);
    }
    FileStatus Replace(const std::string& folder, const std::vector<Replacement>& c) override {
        if (operations++ == failAt)
            return FileError{FileErrorKind::WriteFailed, "No space left on device",
                             c.empty() ? folder : c.front().path};
        return inner_.Replace(folder, c);
    }
    FileResult<std::unique_ptr<GameLock>> LockGame(const std::string& folder) override {
        if (heldByAnotherRun)
            return FileError{FileErrorKind::Locked, "another Adultify is editing this game",
                             folder};
        return inner_.LockGame(folder);
    }
    Recovery Recover(const std::string& folder, const TempFolders& temps,
                     const BeforeReplacing& before) override {
        return inner_.Recover(folder, temps, before);
    }
    FileStamp Stamp(const std::string& p, const Bytes& read) override {
        return inner_.Stamp(p, read);
    }
    Change CompareWithRead(const std::string& p, const FileStamp& stamp) override {
        return inner_.CompareWithRead(p, stamp);
    }
    std::vector<std::string> List(const std::string& f) override { return inner_.List(f); }
    std::string NativePath(const std::string& p) override { return inner_.NativePath(p); }

  private:
    FileSystem& inner_;
};

// Thrown from inside a replacement to stop the program there, as a kill would: nothing after
// it runs, and the next start finds the files as they were left.
struct Stopped {};

// Stops the program after the replacement's `stopAt`-th step (0-based) that changes the disk.
inline void StopAfterStep(NativeFileSystem& files, int stopAt, int& steps) {
    steps = 0;
    files.afterReplaceStep = [&steps, stopAt] {
        if (steps++ == stopAt) throw Stopped{};
    };
}

} // namespace adultify::test
