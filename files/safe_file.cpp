#include "files/safe_file.h"

#include "files/checksum.h"
#include "files/safe_file_platform.h"
#include "text/path_text.h"

#include <cstdint>
#include <cstdio>
#include <random>
#include <string_view>
#include <utility>

namespace adultify {

namespace {

constexpr std::string_view kTempMarker = ".adultify-new-";
constexpr int kTempSuffixDigits = 16;

std::string RandomSuffix() {
    thread_local std::mt19937_64 random{std::random_device{}()};
    char text[kTempSuffixDigits + 1];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(random()));
    return text;
}

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

} // namespace

std::string (*platform::drawTempSuffix)() = RandomSuffix;
void (*platform::fileSynced)(const std::filesystem::path&) = nullptr;

FileStatus platform::CreateExclusive(const std::filesystem::path& path, const Bytes& bytes,
                                     const std::filesystem::path* like, bool flush) {
    bool given = false;
    const Pieces whole = [&]() -> FileResult<std::span<const std::uint8_t>> {
        if (std::exchange(given, true)) return std::span<const std::uint8_t>();
        return std::span<const std::uint8_t>(bytes.data(), bytes.size());
    };
    return CreateExclusive(path, whole, like, flush);
}

void platform::SizeForRead(Bytes& buffer, std::size_t size) {
    const bool reused = buffer.capacity() > 0;
    buffer.clear();
    if (reused && buffer.capacity() < size) buffer.reserve(size + size / 4);
    buffer.resize(size);
}

std::string Describe(const FileError& error) {
    return PathText(error.path) + ": " + error.reason;
}

bool IsTempName(const std::string& fileName) {
    const std::size_t at = fileName.rfind(kTempMarker);
    if (at == std::string::npos || at == 0) return false;
    const std::string_view suffix = std::string_view(fileName).substr(at + kTempMarker.size());
    return suffix.size() == kTempSuffixDigits &&
           suffix.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

bool IsTempNameFor(const std::string& fileName, const std::string& targetName) {
    return fileName.size() == targetName.size() + kTempMarker.size() + kTempSuffixDigits &&
           fileName.compare(0, targetName.size(), targetName) == 0 && IsTempName(fileName);
}

FileResult<WrittenTemp> WriteTempBeside(const std::filesystem::path& target, const Bytes& bytes) {
    if (auto ok = platform::CheckReplaceable(target); !ok) return ok.error();
    // A name planted by someone else is never opened: creation fails and another is drawn.
    constexpr int kAttempts = 100;
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::filesystem::path temp = target;
        temp += std::string(kTempMarker) + platform::drawTempSuffix();
        auto created = platform::CreateExclusive(temp, bytes, &target);
        if (!created && created.error().kind == FileErrorKind::NameTaken) continue;
        if (!created) return created.error();
        platform::SyncFolder(FolderOf(temp));
        return WrittenTemp{std::move(temp), bytes.size(), Crc32(bytes.data(), bytes.size())};
    }
    return FileError{FileErrorKind::NameTaken, "no free temporary name beside the file", target};
}

FileStatus WriteNewFile(const std::filesystem::path& path, const Bytes& bytes, bool flushContents) {
    if (auto created = platform::CreateExclusive(path, bytes, nullptr, flushContents); !created)
        return created;
    platform::SyncFolder(FolderOf(path));
    return {};
}

FileStatus LinkBackup(const std::filesystem::path& existing, const std::filesystem::path& backup) {
    bool unsupported = false;
    if (auto linked = platform::HardLink(existing, backup, unsupported); !linked) {
        if (!unsupported) return linked;
        // FAT, some network shares, or a file owned by another user under protected links.
        auto bytes = ReadRegularFile(existing, UINT64_MAX);
        if (!bytes) return bytes.error();
        if (auto copied = platform::CreateExclusive(backup, bytes.value(), &existing); !copied)
            return copied;
    }
    platform::SyncFolder(FolderOf(backup));
    return {};
}

FileStatus ReplaceWith(const std::filesystem::path& temp, const std::filesystem::path& target) {
    if (auto ok = platform::CheckReplaceable(target); !ok) return ok;
    if (auto renamed = platform::Rename(temp, target); !renamed) return renamed;
    platform::SyncFolder(FolderOf(target));
    if (FolderOf(temp) != FolderOf(target)) platform::SyncFolder(FolderOf(temp));
    return {};
}

FileStatus RemoveFile(const std::filesystem::path& path) {
    if (auto removed = platform::Remove(path); !removed) return removed;
    platform::SyncFolder(FolderOf(path));
    return {};
}

} // namespace adultify
