#include "files/intent_record.h"

#include "files/checksum.h"
#include "files/record_text.h"
#include "text/ascii.h"

#include <algorithm>
#include <set>
#include <string_view>

namespace adultify {

namespace fs = std::filesystem;

namespace {

// Format: a header line; one "file" line per entry, fields split by tabs; then an "end" line
// with the entry count, the length of all before it and its CRC-32. A record cut short by a
// crash lacks a matching end line. Names are relative to the game folder, "/" between parts.
constexpr std::string_view kHeader = "adultify-intent 2";
constexpr std::string_view kMarkerHeader = "adultify-temps 1"; // then one "folder" line each
constexpr std::size_t kFields = 9;

// One part of a recorded name: never a way out of its folder, onto a drive or into a stream.
bool IsSafePart(std::string_view part) {
    return !part.empty() && part != "." && part != ".." &&
           part.find_first_of("/\\:") == std::string_view::npos;
}

fs::path Normal(const fs::path& path) {
    std::error_code ec;
    fs::path normal = fs::absolute(path, ec).lexically_normal();
    if (!normal.has_filename() && normal.has_relative_path()) normal = normal.parent_path();
    return normal;
}

// `path` as a name relative to the game folder; nothing when it lies outside it.
std::optional<std::string> NameInGame(const fs::path& gameFolder, const fs::path& path) {
    std::string name;
    for (const fs::path& part : Normal(path).lexically_relative(Normal(gameFolder))) {
        const std::string text = PathText(part);
        if (!IsSafePart(text)) return std::nullopt;
        name += (name.empty() ? "" : "/") + text;
    }
    if (name.empty()) return std::nullopt;
    return name;
}

std::optional<fs::path> PathInGame(const fs::path& gameFolder, std::string_view name) {
    fs::path path = gameFolder;
    for (const std::string_view part : Split(name, '/')) {
        if (!IsSafePart(part)) return std::nullopt;
        path /= TextPath(std::string(part));
    }
    return path;
}

// "<target's name without its ending>.<three digits>", in any letter case: the backup's name
// is spelt as the program spells it, the target's as the disk does.
bool IsBackupNameFor(const fs::path& backup, const fs::path& target) {
    const std::string name = PathText(backup.filename());
    const std::string stem = PathText(target.stem()) + ".";
    return name.size() == stem.size() + 3 &&
           EqualIgnoringCase(std::string_view(name).substr(0, stem.size()), stem) &&
           name.find_first_not_of("0123456789", stem.size()) == std::string::npos;
}

// Why the entries are not a save Adultify could have made in the game folder; nothing if
// they are.
std::optional<std::string> Refusal(const fs::path& gameFolder,
                                   const std::vector<IntentEntry>& entries) {
    std::set<fs::path> targets;
    for (const IntentEntry& e : entries) {
        const std::string shown = PathText(e.target);
        const fs::path folder = e.target.parent_path();
        if (!targets.insert(e.target).second) return shown + " is named twice";
        if (e.temp.path.parent_path() != folder ||
            !IsTempNameFor(PathText(e.temp.path.filename()), PathText(e.target.filename())))
            return PathText(e.temp.path) + " is not a new file of Adultify's beside " + shown;
        if (e.backup &&
            (e.backup->parent_path() != folder || !IsBackupNameFor(*e.backup, e.target)))
            return PathText(*e.backup) + " is not a backup name of " + shown;
        if (e.temp.size > kLargestGameFile ||
            (e.before && e.before->hashed && e.before->stamp.size > kLargestHashedTarget))
            return "the sizes recorded for " + shown + " are larger than any game file";
        if (!IsInsideGameFolder(folder, gameFolder))
            return shown + " is not inside the game folder once links are followed";
    }
    return std::nullopt;
}

std::string BeforeFields(const std::optional<TargetBefore>& before) {
    if (!before) return "-\t-\t-";
    const FileStamp& s = before->stamp;
    return std::to_string(s.size) + "\t" + std::to_string(s.mtimeNs) + "\t" +
           (before->hashed ? Hex8(static_cast<std::uint32_t>(s.hash >> 32)) +
                                 Hex8(static_cast<std::uint32_t>(s.hash))
                           : "-");
}

std::optional<std::optional<TargetBefore>> ParseBefore(std::string_view size, std::string_view time,
                                                       std::string_view hash) {
    if (size == "-" && time == "-" && hash == "-") return std::optional<TargetBefore>();
    TargetBefore before;
    const auto s = Number<std::uint64_t>(size);
    const auto t = Number<std::int64_t>(time);
    const auto h = hash == "-" ? std::optional<std::uint64_t>(0) : Number<std::uint64_t>(hash, 16);
    if (!s || !t || !h) return std::nullopt;
    before.stamp = {*s, *t, *h};
    before.hashed = hash != "-";
    return std::optional<TargetBefore>(before);
}

Bytes Format(std::string_view header, const std::vector<std::string>& lines) {
    std::string text = std::string(header) + "\n";
    for (const std::string& line : lines)
        text += line + "\n";
    text += "end\t" + std::to_string(lines.size()) + "\t" + std::to_string(text.size()) + "\t" +
            Hex8(Crc32(text.data(), text.size())) + "\n";
    return ToBytes(text);
}

// The entry lines of a whole record; nothing when it is torn or damaged.
std::optional<std::vector<std::string_view>> Lines(std::string_view header, std::string_view text) {
    if (text.size() < 2 || text.back() != '\n') return std::nullopt;
    const std::size_t lastLine = text.rfind('\n', text.size() - 2);
    const std::size_t bodySize = lastLine == std::string_view::npos ? 0 : lastLine + 1;
    const auto end = Split(text.substr(bodySize, text.size() - 1 - bodySize), '\t');
    if (end.size() != 4 || end[0] != "end") return std::nullopt;
    const auto count = Number<std::size_t>(end[1]);
    if (Number<std::size_t>(end[2]) != bodySize ||
        Number<std::uint32_t>(end[3], 16) != Crc32(text.data(), bodySize))
        return std::nullopt;
    auto lines = Split(text.substr(0, bodySize), '\n');
    lines.pop_back(); // after the body's last newline
    if (lines.empty() || lines[0] != header || count != lines.size() - 1) return std::nullopt;
    lines.erase(lines.begin());
    return lines;
}

std::optional<IntentEntry> ParseLine(const fs::path& gameFolder, std::string_view line) {
    const auto f = Split(line, '\t');
    if (f.size() != kFields || f[0] != "file") return std::nullopt;
    const auto size = Number<std::uint64_t>(f[1]);
    const auto crc = Number<std::uint32_t>(f[2], 16);
    const auto target = Unescape(f[3]);
    const auto temp = Unescape(f[4]);
    const auto backup = Unescape(f[5]);
    const auto before = ParseBefore(f[6], f[7], f[8]);
    if (!size || !crc || !target || !temp || !backup || !before) return std::nullopt;
    const auto targetPath = PathInGame(gameFolder, *target);
    const auto tempPath = PathInGame(gameFolder, *temp);
    const auto backupPath = PathInGame(gameFolder, *backup);
    if (!targetPath || !tempPath || (!backup->empty() && !backupPath)) return std::nullopt;
    IntentEntry e{*targetPath, {*tempPath, *size, *crc}, std::nullopt, *before};
    if (!backup->empty()) e.backup = *backupPath;
    return e;
}

} // namespace

bool IsInsideGameFolder(const fs::path& folder, const fs::path& gameFolder) {
    std::error_code ec;
    const fs::path game = fs::canonical(gameFolder, ec);
    if (ec) return false;
    const fs::path real = fs::canonical(folder, ec);
    if (ec) return false;
    auto g = game.begin();
    for (auto r = real.begin(); g != game.end(); ++g, ++r)
        if (r == real.end() || *r != *g) return false;
    return true;
}

fs::path IntentFile(const fs::path& gameFolder) {
    return gameFolder / ".adultify-intent";
}

FileStatus WriteIntent(const fs::path& gameFolder, const std::vector<IntentEntry>& entries) {
    if (const auto refused = Refusal(gameFolder, entries))
        return FileError{FileErrorKind::NotFound, *refused, gameFolder};
    std::vector<std::string> lines;
    for (const IntentEntry& e : entries) {
        const auto target = NameInGame(gameFolder, e.target);
        const auto temp = NameInGame(gameFolder, e.temp.path);
        const auto backup = e.backup ? NameInGame(gameFolder, *e.backup) : std::string();
        if (!target || !temp || !backup)
            return FileError{FileErrorKind::NotFound, "it is not inside the game folder",
                             !target ? e.target : e.temp.path};
        lines.push_back("file\t" + std::to_string(e.temp.size) + "\t" + Hex8(e.temp.crc32) + "\t" +
                        Escape(*target) + "\t" + Escape(*temp) + "\t" + Escape(*backup) + "\t" +
                        BeforeFields(e.before));
    }
    FileStatus written = WriteNewFile(IntentFile(gameFolder), Format(kHeader, lines));
    if (!written && written.error().kind == FileErrorKind::NameTaken)
        return FileError{FileErrorKind::NameTaken,
                         "the record of another, unfinished save is in the way; Adultify "
                         "reported it when it started",
                         IntentFile(gameFolder)};
    return written;
}

FileStatus RemoveIntent(const fs::path& gameFolder) {
    return RemoveFile(IntentFile(gameFolder));
}

ParsedIntent ParseIntent(const fs::path& gameFolder, const Bytes& bytes) {
    ParsedIntent read;
    const auto lines = Lines(kHeader, AsText(bytes));
    if (!lines) return read;
    std::vector<IntentEntry> entries;
    for (const std::string_view line : *lines) {
        auto entry = ParseLine(gameFolder, line);
        if (!entry) {
            read.refused = "it names a file by a path that leaves the game folder, or is not a "
                           "record Adultify writes";
            return read;
        }
        entries.push_back(std::move(*entry));
    }
    read.refused = Refusal(gameFolder, entries);
    if (!read.refused) read.entries = std::move(entries);
    return read;
}

fs::path TempsMarkerFile(const fs::path& gameFolder) {
    return gameFolder / ".adultify-temps";
}

FileStatus WriteTempsMarker(const fs::path& gameFolder, const std::vector<fs::path>& folders) {
    std::vector<std::string> lines;
    for (const fs::path& folder : folders) {
        const auto name = NameInGame(gameFolder, folder);
        if (!name || !IsInsideGameFolder(folder, gameFolder))
            return FileError{FileErrorKind::NotFound, "it is not inside the game folder", folder};
        lines.push_back("folder\t" + Escape(*name));
    }
    // Its name must last before any temp's does; contents a crash tears make the next start
    // look in every folder, so they need no flush of their own.
    return WriteNewFile(TempsMarkerFile(gameFolder), Format(kMarkerHeader, lines), false);
}

std::optional<std::vector<fs::path>> ParseTempsMarker(const fs::path& gameFolder,
                                                      const Bytes& bytes) {
    const auto lines = Lines(kMarkerHeader, AsText(bytes));
    if (!lines) return std::nullopt;
    std::vector<fs::path> folders;
    for (const std::string_view line : *lines) {
        const auto f = Split(line, '\t');
        const auto name = f.size() == 2 && f[0] == "folder" ? Unescape(f[1]) : std::nullopt;
        const auto folder = name ? PathInGame(gameFolder, *name) : std::nullopt;
        if (!folder) return std::nullopt;
        folders.push_back(*folder);
    }
    return folders;
}

} // namespace adultify
