#pragma once
// The file-system seam. Paths are the program's own Windows-style paths (UTF-8);
// an implementation maps them to what the machine really has.

#include "iff/byte_string.h"

#include <optional>
#include <string>
#include <vector>

namespace adultify {

struct [[nodiscard]] IoResult {
    bool ok = true;
    std::string reason; // the system's words when !ok
    explicit operator bool() const { return ok; }
    static IoResult Fail(std::string why) { return {false, std::move(why)}; }
};

class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // True when the path names a file that can be opened for reading. Folders are not files.
    [[nodiscard]] virtual bool CanOpenForReading(const std::string& path) = 0;
    [[nodiscard]] virtual bool IsDirectory(const std::string& path) = 0;
    [[nodiscard]] virtual std::optional<Bytes> Read(const std::string& path,
                                                    std::string* reason) = 0;
    // Creates or truncates the file, writes all of data and flushes it to the disk.
    virtual IoResult WriteNew(const std::string& path, const Bytes& data) = 0;
    // Replaces `to` when it exists.
    virtual IoResult Rename(const std::string& from, const std::string& to) = 0;
    virtual IoResult Remove(const std::string& path) = 0;
    // The names in a folder, sorted; empty when it cannot be listed.
    [[nodiscard]] virtual std::vector<std::string> List(const std::string& folder) = 0;
    // The machine's own spelling of the path, for showing to people.
    [[nodiscard]] virtual std::string NativePath(const std::string& path) = 0;
};

// Replaces a file only by a complete new one: written beside it, flushed, then renamed.
IoResult ReplaceWholeFile(FileSystem& fs, const std::string& path, const Bytes& data);

// The name of the file that ReplaceFile writes before it renames it.
[[nodiscard]] std::string SidecarPath(const std::string& path);

} // namespace adultify
