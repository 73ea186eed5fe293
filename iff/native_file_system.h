#pragma once

#include "iff/file_system.h"
#include "iff/windows_path.h"

namespace adultify {

// The machine's own file system, reached through the Windows-style path mapping.
class NativeFileSystem final : public FileSystem {
  public:
    explicit NativeFileSystem(WindowsPathMapper mapper = WindowsPathMapper());

    bool CanOpenForReading(const std::string& path) override;
    bool IsDirectory(const std::string& path) override;
    std::optional<Bytes> Read(const std::string& path, std::string* reason) override;
    IoResult WriteNew(const std::string& path, const Bytes& data) override;
    IoResult Rename(const std::string& from, const std::string& to) override;
    IoResult Remove(const std::string& path) override;
    std::vector<std::string> List(const std::string& folder) override;
    std::string NativePath(const std::string& path) override;

    [[nodiscard]] const WindowsPathMapper& Mapper() const { return mapper_; }

  private:
    [[nodiscard]] std::filesystem::path Resolve(const std::string& path) const;
    void Changed(const std::filesystem::path& folder);

    WindowsPathMapper mapper_;
    // A file is tested and then read under the same path: resolve it once for both.
    mutable std::string lastPath_;
    mutable std::filesystem::path lastNative_;
};

} // namespace adultify
