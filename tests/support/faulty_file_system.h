#pragma once
// Wraps a file system and fails one chosen operation, to prove that saves survive any failure.

#include "iff/file_system.h"

namespace adultify::test {

class FaultyFileSystem final : public FileSystem {
  public:
    explicit FaultyFileSystem(FileSystem& inner) : inner_(inner) {}

    int failAt = -1; // the n-th changing operation (0-based) fails; -1: none
    int operations = 0;

    bool CanOpenForReading(const std::string& p) override { return inner_.CanOpenForReading(p); }
    bool IsDirectory(const std::string& p) override { return inner_.IsDirectory(p); }
    std::optional<Bytes> Read(const std::string& p, std::string* r) override {
        return inner_.Read(p, r);
    }
    IoResult WriteNew(const std::string& p, const Bytes& d) override {
        if (Fails()) return IoResult::Fail("No space left on device");
        return inner_.WriteNew(p, d);
    }
    IoResult Rename(const std::string& a, const std::string& b) override {
        if (Fails()) return IoResult::Fail("Device or resource busy");
        return inner_.Rename(a, b);
    }
    IoResult Remove(const std::string& p) override {
        if (Fails()) return IoResult::Fail("Permission denied");
        return inner_.Remove(p);
    }
    std::vector<std::string> List(const std::string& f) override { return inner_.List(f); }
    std::string NativePath(const std::string& p) override { return inner_.NativePath(p); }

  private:
    bool Fails() { return operations++ == failAt; }
    FileSystem& inner_;
};

} // namespace adultify::test
