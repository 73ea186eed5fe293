#include "fuzz/memory_file_system.h"

namespace adultify::fuzz {

std::string MemoryFileSystem::Key(std::string_view path) {
    std::string k(path);
    for (char& c : k) {
        if (c == '/') c = '\\';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return k;
}

void MemoryFileSystem::Put(const std::string& path, Bytes data) {
    files_[Key(path)] = {path, std::move(data)};
}

void MemoryFileSystem::PutAnyFileIn(const std::string& folder, Bytes data) {
    anyFolder_ = Key(folder);
    if (anyFolder_.empty() || anyFolder_.back() != '\\') anyFolder_ += '\\';
    anyData_ = std::move(data);
}

bool MemoryFileSystem::InAnyFolder(const std::string& key) const {
    if (anyFolder_.empty() || gone_.count(key)) return false;
    if (key.size() <= anyFolder_.size() + 4 || key.compare(0, anyFolder_.size(), anyFolder_) != 0)
        return false;
    if (key.find('\\', anyFolder_.size()) != std::string::npos) return false;
    return key.compare(key.size() - 4, 4, ".iff") == 0;
}

const Bytes* MemoryFileSystem::Find(const std::string& key) const {
    if (auto it = files_.find(key); it != files_.end()) return &it->second.data;
    return InAnyFolder(key) ? &anyData_ : nullptr;
}

std::optional<Bytes> MemoryFileSystem::Get(const std::string& path) const {
    const Bytes* data = Find(Key(path));
    if (!data) return std::nullopt;
    return *data;
}

bool MemoryFileSystem::CanOpenForReading(const std::string& path) {
    return Find(Key(path)) != nullptr;
}

bool MemoryFileSystem::IsDirectory(const std::string& path) {
    std::string k = Key(path);
    if (k.empty() || k.back() != '\\') k += '\\';
    if (!anyFolder_.empty() && anyFolder_.compare(0, k.size(), k) == 0) return true;
    auto it = files_.lower_bound(k);
    return it != files_.end() && it->first.compare(0, k.size(), k) == 0;
}

FileResult<Bytes> MemoryFileSystem::ReadFile(const std::string& path, std::uint64_t maxBytes,
                                             Bytes buffer) {
    const Bytes* data = Find(Key(path));
    if (!data) return FileError{FileErrorKind::NotFound, "No such file or directory", path};
    if (data->size() > maxBytes) return FileError{FileErrorKind::TooLarge, "too large", path};
    buffer.assign(data->begin(), data->end());
    return buffer;
}

FileResult<std::string> MemoryFileSystem::FreeBackupName(const std::string& baseName) {
    for (int k = 0; k < 1000; ++k) {
        const std::string digits = "00" + std::to_string(k);
        const std::string name = baseName + "." + digits.substr(digits.size() - 3);
        if (!Find(Key(name))) return name;
    }
    return FileError{FileErrorKind::NameTaken, "every backup name is taken", baseName};
}

FileStatus MemoryFileSystem::Replace(const std::string&, const std::vector<Replacement>& changes) {
    for (const Replacement& r : changes) {
        const std::string k = Key(r.path);
        if (r.backup) {
            if (const Bytes* old = Find(k)) Put(*r.backup, *old);
        }
        Put(r.path, r.bytes);
    }
    return {};
}

namespace {
class NoLock final : public GameLock {};
} // namespace

FileResult<std::unique_ptr<GameLock>> MemoryFileSystem::LockGame(const std::string&) {
    std::unique_ptr<GameLock> lock = std::make_unique<NoLock>();
    return lock;
}

std::vector<std::string> MemoryFileSystem::List(const std::string& folder) {
    std::string k = Key(folder);
    if (k.empty() || k.back() != '\\') k += '\\';
    std::set<std::string> names;
    for (auto it = files_.lower_bound(k); it != files_.end(); ++it) {
        if (it->first.compare(0, k.size(), k) != 0) break;
        // A deeper file names the folder it is in, as a listing of the disk would.
        const std::string rest = it->second.path.substr(k.size());
        names.insert(rest.substr(0, rest.find_first_of("\\/")));
    }
    return {names.begin(), names.end()};
}

// Memory has no write times: the size and the bytes tell.
FileStamp MemoryFileSystem::Stamp(const std::string&, const Bytes& bytesRead) {
    return {bytesRead.size(), 0, StampHash(bytesRead)};
}

Change MemoryFileSystem::CompareWithRead(const std::string& path, const FileStamp& stamp) {
    const auto now = Get(path);
    if (!now) return Change::Gone;
    return now->size() == stamp.size && StampHash(*now) == stamp.hash ? Change::Same
                                                                      : Change::Changed;
}

} // namespace adultify::fuzz
