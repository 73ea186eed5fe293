#include "files/intent_record.h"

#include "files/checksum.h"
#include "files/record_text.h"

#include <algorithm>
#include <set>

namespace adultify {

namespace fs = std::filesystem;

namespace {

constexpr std::uint64_t kLargestRecord = 1u << 20;

std::string Shown(const fs::path& path) {
    return PathText(path);
}

bool Holds(const FileResult<Bytes>& read, const WrittenTemp& expected) {
    return read && read.value().size() == expected.size &&
           Crc32(read.value().data(), read.value().size()) == expected.crc32;
}

bool SameFile(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec) && !ec;
}

enum class Progress {
    Pending, // its temp is intact, its target unchanged: it waits for its rename
    Done,    // renamed already: the target holds the new contents
    Lost,    // the target is unchanged but the new contents are nowhere
    Changed, // the target is neither the file from before the save nor the new one
    Foreign, // the temp's name is taken by something Adultify does not write
    Unknown, // the disk could not be asked; try again later
};

// Whether the target is still the file the record was made against.
bool Unchanged(const IntentEntry& e) {
    if (!e.before) {
        const auto there = EntryExists(e.target);
        return there && !there.value();
    }
    const FileStamp& was = e.before->stamp;
    if (e.before->hashed) return CompareWithDisk(e.target, was, kRecordHash) == Change::Same;
    const FileStamp now = StampOf(e.target, {}); // too large to hash: its size and time
    return now.size == was.size && now.mtimeNs == was.mtimeNs;
}

Progress Examine(const IntentEntry& e, std::vector<std::string>& report) {
    std::error_code ec;
    const fs::file_status temp = fs::symlink_status(e.temp.path, ec);
    if (ec && temp.type() != fs::file_type::not_found) {
        report.push_back("Could not look for the new " + Shown(e.target) + ": " + ec.message());
        return Progress::Unknown;
    }
    if (fs::is_symlink(fs::symlink_status(e.target, ec))) return Progress::Foreign;
    if (fs::exists(temp)) {
        // Adultify's own temps have one name: a second one could be a file outside the game.
        if (!fs::is_regular_file(temp) || fs::hard_link_count(e.temp.path, ec) != 1)
            return Progress::Foreign;
        if (!Unchanged(e)) return Progress::Changed;
        return Holds(ReadRegularFile(e.temp.path, e.temp.size), e.temp) ? Progress::Pending
                                                                        : Progress::Lost;
    }
    if (Holds(ReadRegularFile(e.target, e.temp.size), e.temp)) return Progress::Done;
    return Unchanged(e) ? Progress::Lost : Progress::Changed;
}

// Where the file a finished entry replaced is kept, for the report.
std::string KeptNote(const IntentEntry& e) {
    const auto there = e.backup ? EntryExists(*e.backup) : FileResult<bool>(false);
    if (!there || !there.value() || SameFile(*e.backup, e.target)) return "";
    return "; the file it replaced is kept as " + Shown(*e.backup);
}

// A backup this save linked but did not use is the live file under a second name.
void RemoveUnusedBackup(const IntentEntry& e) {
    if (e.backup && SameFile(*e.backup, e.target)) (void)RemoveFile(*e.backup);
}

// Renames one temp over its target, keeping the target under its backup name first.
bool FinishEntry(const IntentEntry& e, std::vector<std::string>& report) {
    std::string kept;
    if (e.backup && e.before) {
        const auto there = EntryExists(*e.backup);
        if (there && !there.value()) {
            if (auto linked = LinkBackup(e.target, *e.backup); linked)
                kept = "; the file it replaced is kept as " + Shown(*e.backup);
        } else if (there && SameFile(*e.backup, e.target)) {
            kept = "; the file it replaced is kept as " + Shown(*e.backup);
        }
    }
    if (auto replaced = ReplaceWith(e.temp.path, e.target); !replaced) {
        report.push_back(Shown(e.target) + " could not be saved: " + replaced.error().reason);
        return false;
    }
    report.push_back(Shown(e.target) + " has been saved" + kept + ".");
    return true;
}

// The save was overtaken: what is on disk stays, the save's own files go.
void RollBack(const std::vector<IntentEntry>& entries, const std::vector<Progress>& progress,
              std::vector<std::string>& report) {
    report.push_back("Adultify had been stopped while saving, and a file of that save has "
                     "changed since (the game may have saved it); the unfinished save was "
                     "dropped and every file kept as it is now.");
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IntentEntry& e = entries[i];
        if (progress[i] == Progress::Done) {
            report.push_back(Shown(e.target) + " had been saved before Adultify was stopped" +
                             KeptNote(e) + ".");
            continue;
        }
        (void)RemoveFile(e.temp.path);
        RemoveUnusedBackup(e);
        report.push_back(Shown(e.target) + (progress[i] == Progress::Changed
                                                ? " has changed since that save began."
                                                : " is as it was before that save."));
    }
}

void Decline(const fs::path& record, const std::string& why, Recovery& r) {
    r.complete = false;
    r.declined = true;
    r.report.push_back("The record of an unfinished save, " + Shown(record) + ", was not used: " +
                       why + ". No file was changed; remove the record to save again.");
}

// Finishes or drops a recorded save; false when the record must stay.
bool EndSave(const fs::path& record, const std::vector<IntentEntry>& entries,
             const RecoveryHooks& hooks, Recovery& r) {
    std::vector<Progress> progress;
    progress.reserve(entries.size());
    for (const IntentEntry& e : entries)
        progress.push_back(Examine(e, r.report));
    const auto any = [&](Progress p) {
        return std::find(progress.begin(), progress.end(), p) != progress.end();
    };
    if (any(Progress::Foreign)) {
        Decline(record, "a file it names is a link or not a file Adultify writes", r);
        return false;
    }
    if (any(Progress::Unknown)) return false;
    if (any(Progress::Changed)) {
        RollBack(entries, progress, r.report);
        return true;
    }
    if (any(Progress::Lost) && !any(Progress::Done)) {
        // Nothing was renamed yet: dropping the save keeps every file as it was.
        for (const IntentEntry& e : entries) {
            (void)RemoveFile(e.temp.path);
            RemoveUnusedBackup(e);
        }
        r.report.push_back("Adultify had been stopped while saving, and the save's new files "
                           "were damaged; no file had been changed.");
        return true;
    }
    std::vector<fs::path> targets;
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (progress[i] == Progress::Pending) targets.push_back(entries[i].target);
    if (!targets.empty() && hooks.beforeReplacing && !hooks.beforeReplacing(targets)) {
        r.declined = true;
        r.report.push_back("The save was not finished; every file was left as it is, and "
                           "Adultify will offer to finish it when it next starts.");
        return false;
    }
    r.report.push_back("Adultify had been stopped while saving; it has now finished that save.");
    bool finished = true;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IntentEntry& e = entries[i];
        if (progress[i] == Progress::Done) {
            r.report.push_back(Shown(e.target) + " had already been saved" + KeptNote(e) + ".");
        } else if (progress[i] == Progress::Lost) {
            RemoveUnusedBackup(e);
            r.report.push_back("The new " + Shown(e.target) +
                               " was damaged; that file was left as it was.");
        } else if (FinishEntry(e, r.report)) {
            ++r.replaced;
        } else {
            finished = false;
        }
    }
    return finished;
}

// A folder named below the game folder, each step down a folder and no link: inside it, known
// without resolving both paths whole (a look at every name from the root, for each folder).
bool PlainlyInside(const fs::path& folder, const fs::path& gameFolder) {
    const fs::path relative =
        folder.lexically_normal().lexically_relative(gameFolder.lexically_normal());
    if (relative.empty()) return false;
    fs::path step = gameFolder;
    for (const fs::path& part : relative) {
        if (part == "..") return false;
        if (part == "." || part.empty()) continue;
        step /= part;
        std::error_code ec;
        if (!fs::is_directory(fs::symlink_status(step, ec))) return false;
    }
    return true;
}

// Temps of a save that never reached its record, in the folders saves write to; a folder
// that leads out of the game folder through a link is left alone.
int RemoveLeftoverTemps(const fs::path& gameFolder, const std::set<fs::path>& folders) {
    int removed = 0;
    for (const fs::path& folder : folders) {
        std::error_code ec;
        if (!PlainlyInside(folder, gameFolder) && !IsInsideGameFolder(folder, gameFolder)) continue;
        for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            std::error_code statError;
            if (IsTempName(PathText(it->path().filename())) &&
                it->symlink_status(statError).type() == fs::file_type::regular &&
                RemoveFile(it->path()))
                ++removed;
        }
    }
    return removed;
}

// A record's name taken by a pipe, a folder or a link: no save of Adultify's is behind it.
void SetAsideForeignRecord(const fs::path& file, fs::file_type type, Recovery& r) {
    r.found = true;
    std::error_code ec;
    const bool gone = type == fs::file_type::directory ? fs::remove(file, ec) : !!RemoveFile(file);
    if (gone) {
        r.report.push_back(Shown(file) + " was not a record of Adultify's (no file could be in "
                                         "it); it was removed.");
        return;
    }
    r.complete = false;
    r.declined = true;
    r.report.push_back(Shown(file) + " is not a record of Adultify's; it was left as it is. "
                                     "Adultify cannot save to this game until it is moved away.");
}

} // namespace

namespace {

// The folders the marker of an unfinished save names: nothing when there is none, and an
// empty `known` when it cannot be read (a torn one, or a name taken by anything else).
std::set<fs::path> MarkedFolders(const fs::path& gameFolder, bool& known) {
    const fs::path file = TempsMarkerFile(gameFolder);
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(file, ec);
    if (!fs::exists(status)) return {};
    const auto bytes = fs::is_regular_file(status) ? ReadRegularFile(file, kLargestRecord)
                                                   : FileResult<Bytes>(Bytes());
    const auto folders = bytes ? ParseTempsMarker(gameFolder, bytes.value()) : std::nullopt;
    if (!folders) {
        known = false;
        return {};
    }
    return {folders->begin(), folders->end()};
}

// Where an earlier save wrote is not known: every folder saves write into is looked at.
void AddEveryTempFolder(const fs::path& gameFolder, const RecoveryHooks& hooks,
                        std::set<fs::path>& folders) {
    folders.insert(gameFolder);
    if (hooks.tempFolders)
        for (fs::path& folder : hooks.tempFolders())
            folders.insert(std::move(folder));
}

void RemoveMarker(const fs::path& gameFolder) {
    std::error_code ec;
    if (fs::exists(fs::symlink_status(TempsMarkerFile(gameFolder), ec)))
        (void)RemoveFile(TempsMarkerFile(gameFolder));
}

} // namespace

Recovery RecoverIntent(const fs::path& gameFolder, const RecoveryHooks& hooks) {
    Recovery result;
    bool known = true; // with no marker, no save had begun to write
    std::set<fs::path> folders = MarkedFolders(gameFolder, known);
    const fs::path file = IntentFile(gameFolder);
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(file, ec);
    if (fs::exists(status) && !fs::is_regular_file(status)) {
        SetAsideForeignRecord(file, status.type(), result);
        if (!result.complete) return result;
    } else if (fs::exists(status)) {
        result.found = true;
        auto record = ReadRegularFile(file, kLargestRecord);
        const ParsedIntent read = record ? ParseIntent(gameFolder, record.value())
                                         : ParsedIntent{{}, Describe(record.error())};
        if (read.refused) {
            Decline(file, *read.refused, result);
            return result;
        }
        if (read.entries) {
            result.complete = EndSave(file, *read.entries, hooks, result);
            for (const IntentEntry& e : *read.entries)
                folders.insert(e.target.parent_path());
        } else {
            // The record is flushed before the first rename: a torn one means none was made.
            result.report.push_back("Adultify had been stopped before it began to save; no file "
                                    "had been changed.");
            known = false;
        }
        if (!result.complete) return result; // tried again at the next start
        if (auto removed = RemoveIntent(gameFolder); !removed) {
            result.complete = false;
            result.report.push_back("The record of the save cannot be removed: " +
                                    Describe(removed.error()));
            return result;
        }
    }
    if (!known) AddEveryTempFolder(gameFolder, hooks, folders);
    if (const int removed = RemoveLeftoverTemps(gameFolder, folders); removed > 0) {
        if (!result.found)
            result.report.push_back("Adultify had been stopped before it began to save; no file "
                                    "had been changed.");
        result.found = true;
        result.report.push_back("Removed " + std::to_string(removed) +
                                " unfinished temporary file(s).");
    }
    RemoveMarker(gameFolder); // last: until every temp it points to is gone, it stays
    return result;
}

} // namespace adultify
