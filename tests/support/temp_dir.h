#pragma once

#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>

#include "iff/byte_string.h"

namespace adultify::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempDir {
  public:
    TempDir() {
        std::random_device rd;
        path_ = std::filesystem::temp_directory_path() /
                ("adultify-test-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    // The folder as SimsPath holds it: with a trailing separator.
    std::string asSimsPath() const { return path_.string() + "/"; }

  private:
    std::filesystem::path path_;
};

// Copies a folder's tree into the empty folder `to`. The target is made anew: MinGW's
// filesystem sees any two existing folders as one (no inode numbers) and refuses the copy.
inline void CopyTreeInto(const std::filesystem::path& from, const std::filesystem::path& to) {
    std::filesystem::remove(to);
    std::filesystem::copy(from, to, std::filesystem::copy_options::recursive);
}

inline void WriteBytes(const std::filesystem::path& p, const Bytes& data) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream out(p, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
}

// In one read: a byte at a time, a sanitizer build spends a minute on the suite's 64 MB files.
inline Bytes ReadBytes(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary | std::ios::ate);
    if (!in) return {};
    Bytes data(static_cast<std::size_t>(in.tellg()));
    in.seekg(0);
    in.read(reinterpret_cast<char*>(data.data()), static_cast<std::streamsize>(data.size()));
    data.resize(static_cast<std::size_t>(in.gcount()));
    return data;
}

// Every file under the folder, by its path inside it.
inline std::map<std::string, Bytes> FilesUnder(const std::filesystem::path& root) {
    std::map<std::string, Bytes> files;
    for (const auto& e : std::filesystem::recursive_directory_iterator(root))
        if (e.is_regular_file())
            files[std::filesystem::relative(e.path(), root).generic_string()] = ReadBytes(e.path());
    return files;
}

} // namespace adultify::test
