#include "files/file_stamp_platform.h"
#include "files/intent_record.h"
#include "files/safe_file_platform.h"

#include <algorithm>

namespace adultify {

namespace fs = std::filesystem;

namespace {

// A target as it was before the save, so that it can be put back when another cannot be
// replaced.
struct Keepsake {
    std::optional<TargetBefore> before; // nothing: the save creates the file
    std::shared_ptr<const Bytes> bytes; // nothing: too large to keep in memory
    fs::file_time_type time{};
};

// The caller's read stands for the target while the disk shows the same file: its size and
// last-write time. A file written since is newer than the one read, and is not replaced.
FileResult<Keepsake> KeepRead(const fs::path& target, const TargetRead& read) {
    const DiskState disk = StatOf(target);
    Keepsake kept;
    if (!read.bytes && disk.gone) return kept;
    if (read.bytes && disk.known && read.stamp.mtimeNs != kNoTime && disk.size == read.stamp.size &&
        disk.mtimeNs == read.stamp.mtimeNs) {
        std::error_code ec;
        kept.time = fs::last_write_time(target, ec);
        kept.before =
            TargetBefore{{read.stamp.size, read.stamp.mtimeNs, kRecordHash(*read.bytes)}, true};
        kept.bytes = read.bytes;
        return kept;
    }
    return FileError{FileErrorKind::Refused, "the file has changed on disk since it was read",
                     target};
}

FileResult<Keepsake> Keep(const FileChange& change) {
    const fs::path& target = change.target;
    if (change.read) return KeepRead(target, *change.read);
    Keepsake kept;
    auto bytes = ReadRegularFile(target, kLargestHashedTarget);
    if (!bytes && bytes.error().kind == FileErrorKind::NotFound) return kept;
    if (!bytes && bytes.error().kind != FileErrorKind::TooLarge) return bytes.error();
    std::error_code ec;
    kept.time = fs::last_write_time(target, ec);
    if (bytes) {
        kept.before = TargetBefore{StampOf(target, bytes.value(), kRecordHash), true};
        kept.bytes = std::make_shared<const Bytes>(std::move(bytes.value()));
    } else {
        kept.before = TargetBefore{StampOf(target, {}), false};
    }
    return kept;
}

FileResult<std::vector<Keepsake>> KeepAll(const std::vector<FileChange>& changes) {
    std::vector<Keepsake> kept;
    kept.reserve(changes.size());
    for (const FileChange& change : changes) {
        auto before = Keep(change);
        if (!before) return before.error();
        kept.push_back(std::move(before.value()));
    }
    return kept;
}

// Gives `target`, which this save has replaced, its old contents and time again.
FileStatus PutBack(const fs::path& target, const Keepsake& kept) {
    if (!kept.before) return RemoveFile(target); // the save created it
    if (!kept.bytes)
        return FileError{FileErrorKind::TooLarge, "it is too large to be put back", target};
    auto temp = WriteTempBeside(target, *kept.bytes);
    if (!temp) return temp.error();
    std::error_code ec;
    fs::last_write_time(temp.value().path, kept.time, ec); // so that it reads as unchanged
    FileStatus replaced = ReplaceWith(temp.value().path, target);
    if (!replaced) (void)RemoveFile(temp.value().path);
    return replaced;
}

// After the `count` first entries were renamed and the next could not be: puts them back.
// An error when one cannot be, and the record must stay for the next start to finish.
FileStatus PutBackReplaced(const std::vector<IntentEntry>& entries,
                           const std::vector<Keepsake>& kept, std::size_t count,
                           const FileError& failure) {
    for (std::size_t j = 0; j < count; ++j) {
        if (auto back = PutBack(entries[j].target, kept[j]); !back) {
            FileError error = failure;
            error.reason += "; " + Describe(back.error()) +
                            "; the save will be finished when Adultify next starts";
            return error;
        }
    }
    return {};
}

// The folders the temps are written into, each once.
std::vector<fs::path> FoldersOf(const std::vector<FileChange>& changes) {
    std::vector<fs::path> folders;
    for (const FileChange& c : changes)
        if (std::find(folders.begin(), folders.end(), c.target.parent_path()) == folders.end())
            folders.push_back(c.target.parent_path());
    return folders;
}

// While no target is replaced, undoing is removing what this call made: the temps first, so
// that a record left by a kill meanwhile drops the save instead of finishing it. The marker
// goes last, and only when nothing it points to is left.
void Undo(const fs::path& gameFolder, const std::vector<IntentEntry>& entries,
          const std::vector<fs::path>& backupsMade, bool recorded) {
    bool cleared = true;
    for (const IntentEntry& e : entries)
        cleared = RemoveFile(e.temp.path) && cleared;
    for (const fs::path& b : backupsMade)
        (void)RemoveFile(b);
    if (recorded) cleared = RemoveIntent(gameFolder) && cleared;
    if (cleared) (void)RemoveFile(TempsMarkerFile(gameFolder));
}

} // namespace

FileStatus ReplaceTogether(const fs::path& gameFolder, const std::vector<FileChange>& changes,
                           const std::function<void()>& afterStep) {
    const std::function<void()> step = afterStep ? afterStep : [] {};
    auto keepsakes = KeepAll(changes);
    if (!keepsakes) return keepsakes.error();
    const std::vector<Keepsake>& kept = keepsakes.value();
    if (auto marked = WriteTempsMarker(gameFolder, FoldersOf(changes)); !marked) return marked;
    step();
    std::vector<IntentEntry> entries;
    std::vector<fs::path> backupsMade;
    bool recorded = false;
    const auto undo = [&](FileStatus failure) {
        Undo(gameFolder, entries, backupsMade, recorded);
        return failure;
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        auto temp = WriteTempBeside(changes[i].target, changes[i].bytes);
        if (!temp) return undo(temp.error());
        entries.push_back(
            {changes[i].target, std::move(temp.value()), changes[i].backup, kept[i].before});
        step();
    }
    if (auto written = WriteIntent(gameFolder, entries); !written) return undo(written);
    recorded = true;
    step();
    for (const IntentEntry& e : entries) {
        if (!e.backup || !e.before) continue; // a new file has nothing to keep
        if (auto linked = LinkBackup(e.target, *e.backup); !linked) return undo(linked);
        backupsMade.push_back(*e.backup);
        step();
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (auto replaced = ReplaceWith(entries[i].temp.path, entries[i].target); !replaced) {
            // Held open or read-only: the ones replaced already get their old contents back.
            if (auto back = PutBackReplaced(entries, kept, i, replaced.error()); !back) return back;
            return undo(replaced);
        }
        step();
    }
    // Unflushed: the renames are durable already, and a record a crash brings back finds every
    // target holding its new contents; the next start only removes it.
    if (auto removed = platform::Remove(IntentFile(gameFolder)); !removed) return removed;
    step();
    // Unflushed: a marker a crash brings back costs the next start a look at its folders.
    (void)platform::Remove(TempsMarkerFile(gameFolder));
    step();
    return {};
}

} // namespace adultify
