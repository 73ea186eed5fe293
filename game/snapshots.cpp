#include "game/snapshots.h"

#include "files/record_text.h"

#include "files/checksum.h"
#include "files/safe_file_platform.h"
#include "game/neighbourhood_name.h"
#include "text/ascii.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <functional>
#include <map>
#include <span>
#include <system_error>
#include <utility>

namespace adultify {

namespace fs = std::filesystem;

namespace {

// Format: a header line, one "key<TAB>value" line per field, one "file<TAB>size<TAB>crc32
// <TAB>name" line per copy, then "end<TAB><lines before it>"; a record cut short lacks it.
constexpr std::string_view kHeader = "adultify-snapshot 1";
constexpr std::uint64_t kLargestRecord = 1u << 20;
constexpr int kNumbersPerMillisecond = 1000;

struct CopiedFile {
    std::string name; // relative to the game folder, "/" between names
    std::uint64_t size = 0;
    std::uint32_t crc32 = 0;
};

struct Record {
    SnapshotInfo info;
    std::vector<CopiedFile> files;
};

// Absolute, "." and ".." resolved, no trailing separator: one spelling per folder. On Linux
// links are resolved too, so that a folder reached through a link or through a Wine drive
// ("dosdevices/c:" and "drive_c") is one folder.
fs::path Normal(const fs::path& path) {
    std::error_code ec;
    fs::path p = fs::absolute(path, ec);
    if (ec) p = path;
#ifndef _WIN32
    if (fs::path real = fs::weakly_canonical(p, ec); !ec) p = real;
#endif
    p = p.lexically_normal();
    if (!p.has_filename() && p.has_relative_path()) p = p.parent_path();
    return p;
}

// What two spellings of one game folder have in common, of a folder made Normal already:
// each resolving asks the disk about every name of the path.
std::string KeyOfNormal(const fs::path& normal) {
    std::string text = PathText(normal);
#ifdef _WIN32
    text = AsciiLower(text);
#endif
    return text;
}

std::string KeyText(const fs::path& folder) {
    return KeyOfNormal(Normal(folder));
}

std::string GameHash(std::string_view key) {
    std::uint32_t hash = 2166136261u; // FNV-1a
    for (const char c : key) {
        hash ^= static_cast<unsigned char>(c);
        hash *= 16777619u;
    }
    return Hex8(hash);
}

// The folder's own name keeps the snapshots findable by hand; the hash keeps games apart.
std::string GameKey(std::string_view key) {
    std::string name;
    for (const char c : PathText(TextPath(key).filename())) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' ||
                           (c == '.' && !name.empty());
        if (name.size() < 40) name += plain ? c : '_';
    }
    return (name.empty() ? "game" : name) + "-" + GameHash(key);
}

fs::path HoodGroup(const fs::path& root, std::string_view key, int hood) {
    return root / GameKey(key) / ("hood-" + std::to_string(hood));
}

// Ids hold only digits, a-f and dashes, so one never names another folder.
bool IsIdText(std::string_view id) {
    return !id.empty() && id.size() <= 64 && std::all_of(id.begin(), id.end(), [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || c == '-';
    });
}

// One name of a relative path: never a way out of the folder or into another drive.
bool IsSafeName(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    return std::none_of(name.begin(), name.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || c == '/' || c == '\\' || c == ':';
    });
}

bool IsSafeRelative(std::string_view name) {
    return ForEachPart(name, '/', IsSafeName);
}

// Of two folders made Normal already.
bool Within(const fs::path& inner, const fs::path& outer) {
    const fs::path relative = inner.lexically_relative(outer);
    return !relative.empty() && *relative.begin() != "..";
}

// Numbered, so that two files of one name in different folders never meet.
fs::path CopyPath(const fs::path& snapshotFolder, std::size_t index, const std::string& name) {
    const std::size_t slash = name.rfind('/');
    const std::string leaf = slash == std::string::npos ? name : name.substr(slash + 1);
    return snapshotFolder / TextPath(std::to_string(index + 1) + "-" + leaf);
}

Bytes Format(const Record& record) {
    const SnapshotInfo& info = record.info;
    std::string text = std::string(kHeader) + "\n";
    text += "id\t" + info.id + "\n";
    text += "time\t" + info.time + "\n";
    text += "command\t" + Escape(info.command) + "\n";
    text += "resident\t" + Escape(info.resident) + "\n";
    text += "name\t" + Escape(info.name) + "\n";
    text += "hood\t" + std::to_string(info.hood) + "\n";
    text += "game\t" + Escape(info.gameFolder) + "\n";
    for (const CopiedFile& f : record.files)
        text +=
            "file\t" + std::to_string(f.size) + "\t" + Hex8(f.crc32) + "\t" + Escape(f.name) + "\n";
    text += "end\t" + std::to_string(8 + record.files.size()) + "\n";
    return ToBytes(text);
}

// "name" came later: records kept before it still read, without the name.
enum Field : std::size_t { kId, kTime, kCommand, kResident, kHood, kGame, kName }; // kKeys' order
constexpr std::array<std::string_view, 7> kKeys = {"id",   "time", "command", "resident",
                                                   "hood", "game", "name"};
using Values = std::array<std::optional<std::string>, kKeys.size()>;

// A line between the header and the end: a field given once, or a file copied.
bool TakeLine(std::string_view line, Record& record, Values& values) {
    std::array<std::string_view, 4> f;
    const std::size_t fields = SplitInto(line, '\t', f);
    if (f[0] == "file" && fields == 4) {
        const auto size = Number<std::uint64_t>(f[1]);
        const auto crc = Number<std::uint32_t>(f[2], 16);
        auto name = Unescape(f[3]);
        if (!size || !crc || !name || !IsSafeRelative(*name)) return false;
        record.files.push_back({std::move(*name), *size, *crc});
        return true;
    }
    const auto key = std::find(kKeys.begin(), kKeys.end(), f[0]);
    if (fields != 2 || key == kKeys.end()) return false;
    std::optional<std::string>& value = values[static_cast<std::size_t>(key - kKeys.begin())];
    if (value) return false;
    value = Unescape(f[1]);
    return value.has_value();
}

// Nothing when the record is torn, damaged, or names a file outside the game folder.
std::optional<Record> Parse(const Bytes& bytes) {
    const std::string_view text = AsText(bytes);
    if (text.empty() || text.back() != '\n') return std::nullopt;
    const std::string_view body = text.substr(0, text.size() - 1);
    // The last line counts the lines before it.
    const std::size_t last = body.rfind('\n');
    std::array<std::string_view, 2> end;
    if (last == std::string_view::npos || SplitInto(body.substr(last + 1), '\t', end) != 2 ||
        end[0] != "end" ||
        Number<std::size_t>(end[1]) !=
            static_cast<std::size_t>(std::count(body.begin(), body.end(), '\n')))
        return std::nullopt;

    Record record;
    Values values;
    bool header = true;
    const bool taken = ForEachPart(body.substr(0, last), '\n', [&](std::string_view line) {
        return std::exchange(header, false) ? line == kHeader : TakeLine(line, record, values);
    });
    if (!taken) return std::nullopt;
    if (!values[kName]) values[kName].emplace();
    if (std::any_of(values.begin(), values.end(), [](const auto& v) { return !v; }))
        return std::nullopt;
    SnapshotInfo& info = record.info;
    const auto hood = Number<int>(*values[kHood]);
    if (!IsIdText(*values[kId]) || !hood || values[kGame]->empty()) return std::nullopt;
    info.id = std::move(*values[kId]);
    info.time = std::move(*values[kTime]);
    info.command = std::move(*values[kCommand]);
    info.resident = std::move(*values[kResident]);
    info.name = std::move(*values[kName]);
    info.hood = *hood;
    info.gameFolder = std::move(*values[kGame]);
    for (const CopiedFile& f : record.files)
        info.files.push_back(f.name);
    return record;
}

// The record of the snapshot folder named `id`, which is in `parent`.
std::optional<Record> RecordOf(const FileResult<Bytes>& bytes, const fs::path& parent,
                               std::string_view id) {
    if (!bytes) return std::nullopt;
    auto record = Parse(bytes.value());
    if (!record || record->info.id != id) return std::nullopt;
    // Joined as text: `parent / id` copies the parent's parsed names and parses them again.
    fs::path::string_type folder = parent.native();
    folder += fs::path::preferred_separator;
    folder += TextPath(id).native();
    record->info.folder = fs::path(std::move(folder));
    return record;
}

std::optional<Record> ReadRecord(const fs::path& snapshotFolder,
                                 std::string_view recordName = kSnapshotRecord) {
    return RecordOf(ReadRegularFile(snapshotFolder / recordName, kLargestRecord),
                    snapshotFolder.parent_path(), PathText(snapshotFolder.filename()));
}

struct Stamp {
    std::string idTime; // UTC, so that ids keep their order across a change of clock time
    std::string local;  // ISO 8601 with the offset from UTC
};

Stamp Now() {
    const auto now = std::chrono::system_clock::now();
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch());
    const std::time_t t = static_cast<std::time_t>(ms.count() / 1000);
    const int milli = static_cast<int>(ms.count() % 1000);
    std::tm utc{}, local{};
#ifdef _WIN32
    gmtime_s(&utc, &t);
    localtime_s(&local, &t);
#else
    gmtime_r(&t, &utc);
    localtime_r(&t, &local);
#endif
    const int days = local.tm_year != utc.tm_year ? (local.tm_year > utc.tm_year ? 1 : -1)
                                                  : local.tm_yday - utc.tm_yday;
    const int offset = days * 86400 + (local.tm_hour - utc.tm_hour) * 3600 +
                       (local.tm_min - utc.tm_min) * 60 + (local.tm_sec - utc.tm_sec);
    const int minutes = (offset < 0 ? -offset : offset) / 60;
    char id[96], iso[96];
    std::snprintf(id, sizeof id, "%04d%02d%02d-%02d%02d%02d-%03d", utc.tm_year + 1900,
                  utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec, milli);
    std::snprintf(iso, sizeof iso, "%04d-%02d-%02dT%02d:%02d:%02d.%03d%c%02d:%02d",
                  local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, local.tm_sec, milli, offset < 0 ? '-' : '+', minutes / 60,
                  minutes % 60);
    return {id, iso};
}

FileError Refused(std::string reason, const fs::path& path) {
    return {FileErrorKind::Refused, std::move(reason), path};
}

FileError FromSystem(const std::error_code& ec, const fs::path& path) {
    return {FileErrorKind::WriteFailed, ec.message(), path};
}

// A snapshot's record while its copies are written or removed: a folder holding it is one
// the store made and may remove.
constexpr std::string_view kPartRecord = "snapshot.part";

// Removes the copies the record in `folder` names, then the record, then the folder if that
// left it empty: nothing the store did not write, and nothing through a link. One sync makes
// the copies' removal durable before the record goes; a record a crash brings back names
// copies already gone, and the next prune removes it again.
void RemoveNamedFiles(const fs::path& folder, const Record& record) {
    for (std::size_t i = 0; i < record.files.size(); ++i)
        if (!platform::Remove(CopyPath(folder, i, record.files[i].name))) return;
    platform::SyncFolder(folder);
    if (!platform::Remove(folder / kPartRecord)) return;
    std::error_code ec;
    fs::remove(folder, ec);
}

// The record is renamed first: a snapshot half removed is an incomplete one, never a wrong
// one, and the next prune finishes the removal.
void RemoveSnapshotFolder(const fs::path& folder) {
    const auto record = ReadRecord(folder, kSnapshotRecord);
    if (!record || !ReplaceWith(folder / kSnapshotRecord, folder / kPartRecord)) return;
    RemoveNamedFiles(folder, *record);
}

// A folder of the group as it is, not what a link points to.
bool IsRealFolder(const fs::path& path) {
    std::error_code ec;
    return fs::symlink_status(path, ec).type() == fs::file_type::directory;
}

// Keeps `taken`, `keep` and the newest others up to the limit; finishes the removal of what a
// stopped TakeSnapshot or removal left before `taken`. Folders without a record of ours are
// left alone, whatever their names.
void Prune(const fs::path& group, const std::string& taken, const std::string& keep) {
    std::vector<std::string> complete;
    std::size_t kept = 1;
    std::error_code ec;
    for (fs::directory_iterator it(group, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string name = PathText(it->path().filename());
        if (!IsIdText(name) || name == taken || !IsRealFolder(it->path())) continue;
        // Only the ones to remove are read: RemoveSnapshotFolder removes none without a record.
        auto recorded = EntryExists(it->path() / kSnapshotRecord);
        if (!recorded) continue;
        if (recorded.value()) {
            if (name == keep)
                ++kept;
            else
                complete.push_back(name);
        } else if (name < taken) {
            if (const auto part = ReadRecord(it->path(), kPartRecord))
                RemoveNamedFiles(it->path(), *part);
        }
    }
    std::sort(complete.begin(), complete.end(), std::greater<>());
    const std::size_t room = kSnapshotsKeptPerHood > static_cast<int>(kept)
                                 ? static_cast<std::size_t>(kSnapshotsKeptPerHood) - kept
                                 : 0;
    for (std::size_t i = room; i < complete.size(); ++i)
        RemoveSnapshotFolder(group / complete[i]);
}

// The game's and the neighbourhood's folders of the store, each a folder of its own: a link
// there could take a prune outside the store.
FileStatus CheckGroup(const fs::path& group) {
    for (const fs::path& folder : {group.parent_path(), group})
        if (!IsRealFolder(folder))
            return Refused("the snapshot folder is a link or not a folder; it is left as it is",
                           folder);
    return {};
}

// Creates the folder and those above it, each made durable in its parent.
FileStatus MakeFolders(const fs::path& folder) {
    std::vector<fs::path> missing; // the deepest first
    std::error_code ec;
    for (fs::path p = folder; !fs::is_directory(p, ec); p = p.parent_path()) {
        missing.push_back(p);
        if (!p.has_relative_path() || p.parent_path() == p) break;
    }
    for (auto it = missing.rbegin(); it != missing.rend(); ++it) {
        fs::create_directory(*it, ec);
        if (ec) return FromSystem(ec, *it);
        platform::SyncFolder(it->parent_path());
    }
    return {};
}

// A new folder for a snapshot under a name no other has: ids are claimed by creating them.
FileResult<fs::path> ClaimSnapshotFolder(const fs::path& group, const std::string& idTime,
                                         std::string_view key, int hood) {
    for (int n = 0; n < kNumbersPerMillisecond; ++n) {
        char number[8];
        std::snprintf(number, sizeof number, "-%03d-", n);
        const std::string id = idTime + number + GameHash(key) + "-" + std::to_string(hood);
        std::error_code ec;
        const bool created = fs::create_directory(group / id, ec);
        if (ec && ec != std::errc::file_exists) return FromSystem(ec, group / id);
        if (created) {
            platform::SyncFolder(group);
            return group / id;
        }
    }
    return FileError{FileErrorKind::NameTaken, "no free snapshot id", group};
}

// Copies `from` piece by piece into the new file `to`, flushed to the disk as every new file
// is: what was copied, measured on the way, so that a file too large to hold is read once.
FileResult<CopiedFile> CopyInPieces(const fs::path& from, const fs::path& to) {
    std::ifstream in(from, std::ios::binary);
    const FileError unreadable{FileErrorKind::Unreadable, "cannot be read", from};
    if (!in) return unreadable;
    CopiedFile copied;
    std::vector<char> piece(1u << 20);
    const platform::Pieces next = [&]() -> FileResult<std::span<const std::uint8_t>> {
        in.read(piece.data(), static_cast<std::streamsize>(piece.size()));
        if (in.bad() || (in.fail() && !in.eof())) return unreadable;
        const auto got = static_cast<std::size_t>(in.gcount());
        copied.crc32 = Crc32(piece.data(), got, copied.crc32);
        copied.size += got;
        return std::span(reinterpret_cast<const std::uint8_t*>(piece.data()), got);
    };
    if (auto written = platform::CreateExclusive(to, next, nullptr); !written)
        return written.error();
    return copied;
}

// Each copy's name, size and CRC in `record`; a name that could lead out of the game folder is
// refused. A large file is measured while it is copied: zero until then.
FileStatus Describe(const fs::path& game, const std::vector<SnapshotCopy>& copies, Record& record) {
    for (const SnapshotCopy& copy : copies) {
        if (!IsSafeRelative(copy.name))
            return Refused("the file lies outside the game folder", game / TextPath(copy.name));
        if (copy.large)
            record.files.push_back({copy.name, 0, 0});
        else
            record.files.push_back(
                {copy.name, copy.bytes.size(), Crc32(copy.bytes.data(), copy.bytes.size())});
    }
    return {};
}

// The record first, as the part that marks the folder as the store's own, then the copies,
// then the record under its final name. The part's and the copies' names are made durable
// together, by the sync before that rename: a crash before it may at worst leave copies the
// store does not know as its own, never a record that names a missing copy.
FileStatus WriteSnapshot(const fs::path& folder, Record& record,
                         const std::vector<SnapshotCopy>& sources) {
    if (auto written = platform::CreateExclusive(folder / kPartRecord, Format(record), nullptr);
        !written)
        return written;
    bool measured = false;
    for (std::size_t i = 0; i < sources.size(); ++i) {
        CopiedFile& file = record.files[i];
        const fs::path copy = CopyPath(folder, i, file.name);
        if (!sources[i].large) {
            if (auto copied = platform::CreateExclusive(copy, sources[i].bytes, nullptr); !copied)
                return copied;
            continue;
        }
        auto copied = CopyInPieces(*sources[i].large, copy);
        if (!copied) return copied.error();
        file.size = copied.value().size;
        file.crc32 = copied.value().crc32;
        measured = true;
    }
    platform::SyncFolder(folder);
    if (!measured) return ReplaceWith(folder / kPartRecord, folder / kSnapshotRecord);
    // The part names the large copies without their sizes: the whole record is written anew.
    // The folder is synced again so that the new record's name is durable before the command
    // goes on; a part a crash leaves beside it goes when the snapshot is pruned.
    if (auto written = WriteNewFile(folder / kSnapshotRecord, Format(record)); !written)
        return written;
    (void)platform::Remove(folder / kPartRecord);
    platform::SyncFolder(folder);
    return {};
}

FileResult<Record> Find(const fs::path& root, const std::string& id) {
    const FileError missing{FileErrorKind::NotFound, "there is no snapshot " + id, root};
    if (!IsIdText(id)) return missing;
    std::error_code ec;
    for (fs::directory_iterator game(root, ec), end; !ec && game != end; game.increment(ec)) {
        std::error_code inner;
        for (fs::directory_iterator hood(game->path(), inner); !inner && hood != end;
             hood.increment(inner)) {
            const fs::path folder = hood->path() / id;
            auto recorded = EntryExists(folder / kSnapshotRecord);
            if (!recorded || !recorded.value()) continue;
            if (auto record = ReadRecord(folder)) return *record;
            return FileError{FileErrorKind::Unreadable,
                             "the snapshot's record is damaged or names a file outside the game "
                             "folder",
                             folder / kSnapshotRecord};
        }
    }
    return missing;
}

} // namespace

FileResult<SnapshotInfo> TakeSnapshot(const fs::path& root, const fs::path& gameFolder, int hood,
                                      const SnapshotCause& cause,
                                      const std::vector<SnapshotCopy>& copies,
                                      const std::string& keep) {
    const fs::path game = Normal(gameFolder), store = Normal(root);
    const std::string key = KeyOfNormal(game);
    if (hood < kFirstHood || hood > kLastHood)
        return Refused("neighbourhood " + std::to_string(hood) + " does not exist", game);
    if (Within(store, game))
        return Refused("snapshots may not be kept inside the game folder", store);
    Record record;
    if (auto described = Describe(game, copies, record); !described) return described.error();

    const fs::path group = HoodGroup(store, key, hood);
    if (auto made = MakeFolders(group); !made) return made.error();
    if (auto checked = CheckGroup(group); !checked) return checked.error();
    const Stamp stamp = Now();
    auto claimed = ClaimSnapshotFolder(group, stamp.idTime, key, hood);
    if (!claimed) return claimed.error();
    const fs::path folder = claimed.value();

    SnapshotInfo& info = record.info;
    info = {PathText(folder.filename()),
            stamp.local,
            cause.command,
            cause.resident,
            cause.name,
            hood,
            PathText(game),
            {},
            folder};
    for (const CopiedFile& f : record.files)
        info.files.push_back(f.name);
    if (auto written = WriteSnapshot(folder, record, copies); !written) {
        RemoveNamedFiles(folder, record);
        return written.error();
    }
    Prune(group, info.id, keep);
    return info;
}

std::vector<SnapshotInfo> ListSnapshots(const fs::path& root, const fs::path& gameFolder,
                                        int hood) {
    std::vector<SnapshotInfo> found;
    const std::string key = KeyText(gameFolder);
    // Resolving a folder asks the disk about each of its names: once per spelling recorded.
    std::map<std::string, bool, std::less<>> ours;
    const fs::path group = HoodGroup(Normal(root), key, hood);
    const FolderReader records(group); // each record read by its short name
    std::error_code ec;
    std::vector<std::string> names = FolderNames(group, ec);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [](const std::string& name) { return !IsIdText(name); }),
                names.end());
    // Newest first: a record's id is its folder's name, so the names are sorted, not the
    // records, each of which is a dozen strings, and the records are read in that order.
    std::sort(names.begin(), names.end(), std::greater<>());
    found.reserve(names.size());
    for (const std::string& name : names) {
        auto record = RecordOf(
            records.Read(name + "/" + std::string(kSnapshotRecord), kLargestRecord), group, name);
        if (!record || record->info.hood != hood) continue;
        // Two game folders of one hash share a folder; the record tells them apart.
        auto [known, fresh] = ours.try_emplace(record->info.gameFolder, false);
        if (fresh) known->second = KeyText(TextPath(known->first)) == key;
        if (known->second) found.push_back(std::move(record->info));
    }
    return found;
}

FileResult<SnapshotInfo> FindSnapshot(const fs::path& root, const std::string& id) {
    auto record = Find(root, id);
    if (!record) return record.error();
    return record.value().info;
}

FileResult<SnapshotFiles> ReadSnapshotFiles(const fs::path& root, const std::string& id,
                                            const fs::path& gameFolder) {
    auto found = Find(root, id);
    if (!found) return found.error();
    const Record& record = found.value();
    const fs::path game = Normal(gameFolder);
    if (KeyText(TextPath(record.info.gameFolder)) != KeyOfNormal(game))
        return Refused("the snapshot was taken of another game folder: " + record.info.gameFolder,
                       game);
    SnapshotFiles files{record.info, {}};
    for (std::size_t i = 0; i < record.files.size(); ++i) {
        const CopiedFile& file = record.files[i];
        const fs::path copy = CopyPath(record.info.folder, i, file.name);
        auto bytes = ReadRegularFile(copy, kLargestGameFile);
        if (!bytes) return bytes.error();
        if (bytes.value().size() != file.size ||
            Crc32(bytes.value().data(), bytes.value().size()) != file.crc32)
            return FileError{FileErrorKind::Unreadable, "the snapshot's copy is damaged", copy};
        files.copies.push_back({file.name, std::move(bytes.value()), std::nullopt});
    }
    return files;
}

} // namespace adultify
