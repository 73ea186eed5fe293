#include "iff/intent_record.h"

#include "iff/record_text.h"

#include "iff/checksum.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace adultify {

namespace fs = std::filesystem;

namespace {

// Format: a header line; one "file" line per entry, fields split by tabs; then an "end" line
// with the entry count, the length of all before it and its CRC-32. A record cut short by a
// crash lacks a matching end line.
constexpr std::string_view kHeader = "adultify-intent 1";
constexpr std::uint64_t kLargestRecord = 1u << 20;

Bytes Format(const std::vector<IntentEntry>& entries) {
    std::string text = std::string(kHeader) + "\n";
    for (const IntentEntry& e : entries) {
        text += "file\t" + std::to_string(e.temp.size) + "\t" + Hex8(e.temp.crc32) + "\t" +
                Escape(PathText(e.target)) + "\t" + Escape(PathText(e.temp.path)) + "\t" +
                (e.backup ? Escape(PathText(*e.backup)) : "") + "\n";
    }
    text += "end\t" + std::to_string(entries.size()) + "\t" + std::to_string(text.size()) + "\t" +
            Hex8(Crc32(text.data(), text.size())) + "\n";
    return ToBytes(text);
}

// Nothing when the record is torn or damaged.
std::optional<std::vector<IntentEntry>> Parse(const Bytes& bytes) {
    const std::string_view text = AsText(bytes);
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
    if (lines.empty() || lines[0] != kHeader || count != lines.size() - 1) return std::nullopt;
    std::vector<IntentEntry> entries;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const auto f = Split(lines[i], '\t');
        if (f.size() != 6 || f[0] != "file") return std::nullopt;
        const auto size = Number<std::uint64_t>(f[1]);
        const auto crc = Number<std::uint32_t>(f[2], 16);
        const auto target = Unescape(f[3]);
        const auto temp = Unescape(f[4]);
        const auto backup = Unescape(f[5]);
        if (!size || !crc || !target || !temp || !backup || target->empty() || temp->empty())
            return std::nullopt;
        IntentEntry e{TextPath(*target), {TextPath(*temp), *size, *crc}, std::nullopt};
        if (!backup->empty()) e.backup = TextPath(*backup);
        entries.push_back(std::move(e));
    }
    return entries;
}

std::string Shown(const fs::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

bool Holds(const FileResult<Bytes>& read, const WrittenTemp& expected) {
    return read && read.value().size() == expected.size &&
           Crc32(read.value().data(), read.value().size()) == expected.crc32;
}

enum class Progress {
    Pending, // its temp is intact and waits for its rename
    Done,    // renamed already: the target holds the new contents
    Lost,    // neither the temp nor the target holds the new contents
    Unknown, // the disk could not be asked; try again later
};

Progress Examine(const IntentEntry& e, std::vector<std::string>& report) {
    auto there = EntryExists(e.temp.path);
    if (!there) {
        report.push_back("Could not look for the new " + Shown(e.target) + ": " +
                         there.error().reason);
        return Progress::Unknown;
    }
    if (there.value())
        return Holds(ReadRegularFile(e.temp.path, e.temp.size), e.temp) ? Progress::Pending
                                                                        : Progress::Lost;
    return Holds(ReadRegularFile(e.target, e.temp.size), e.temp) ? Progress::Done : Progress::Lost;
}

// Finishes a recorded save; false when it must be tried again at the next start.
bool FinishSave(const std::vector<IntentEntry>& entries, std::vector<std::string>& report) {
    std::vector<Progress> progress;
    progress.reserve(entries.size());
    for (const IntentEntry& e : entries)
        progress.push_back(Examine(e, report));
    const auto any = [&](Progress p) {
        return std::find(progress.begin(), progress.end(), p) != progress.end();
    };
    if (any(Progress::Unknown)) return false;
    if (any(Progress::Lost) && !any(Progress::Done)) {
        // Nothing was renamed yet: dropping the save keeps every file as it was.
        report.push_back("Adultify had been stopped while saving, and the save's new files were "
                         "damaged; no file had been changed.");
        return true;
    }
    report.push_back("Adultify had been stopped while saving; it has now finished that save.");
    bool finished = true;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const IntentEntry& e = entries[i];
        if (progress[i] == Progress::Done) {
            report.push_back(Shown(e.target) + " had already been saved.");
        } else if (progress[i] == Progress::Lost) {
            report.push_back("The new " + Shown(e.target) +
                             " was damaged; that file was left as it was.");
        } else if (auto replaced = ReplaceWith(e.temp.path, e.target); !replaced) {
            report.push_back(Shown(e.target) + " could not be saved: " + replaced.error().reason);
            finished = false;
        } else {
            report.push_back(Shown(e.target) + " has been saved.");
        }
        if (auto kept = e.backup ? EntryExists(*e.backup) : FileResult<bool>(false);
            kept && kept.value())
            report.push_back("The previous " + Shown(e.target) + " is kept as " + Shown(*e.backup) +
                             ".");
    }
    return finished;
}

// Temps of a save that never reached its record; never follows a link into another folder.
int RemoveLeftoverTemps(const fs::path& folder) {
    int removed = 0;
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, fs::directory_options::skip_permission_denied, ec);
    for (const fs::recursive_directory_iterator end; !ec && it != end; it.increment(ec)) {
        if (it.depth() >= 2) it.disable_recursion_pending();
        std::error_code statError;
        if (IsTempName(PathText(it->path().filename())) && it->is_regular_file(statError) &&
            !it->is_symlink(statError) && RemoveFile(it->path()))
            ++removed;
    }
    return removed;
}

} // namespace

fs::path IntentFile(const fs::path& gameFolder) {
    return gameFolder / ".adultify-intent";
}

FileStatus WriteIntent(const fs::path& gameFolder, const std::vector<IntentEntry>& entries) {
    // Absolute, so that recovery does not depend on the working folder of the next run.
    std::vector<IntentEntry> absolute = entries;
    const auto makeAbsolute = [](fs::path& path) {
        std::error_code ec;
        path = fs::absolute(path, ec);
        return !ec;
    };
    for (IntentEntry& e : absolute) {
        if (!makeAbsolute(e.target) || !makeAbsolute(e.temp.path) ||
            (e.backup && !makeAbsolute(*e.backup)))
            return FileError{FileErrorKind::NotFound, "the working folder is gone", e.target};
    }
    return WriteNewFile(IntentFile(gameFolder), Format(absolute));
}

FileStatus RemoveIntent(const fs::path& gameFolder) {
    return RemoveFile(IntentFile(gameFolder));
}

Recovery RecoverIntent(const fs::path& gameFolder) {
    Recovery result;
    const fs::path file = IntentFile(gameFolder);
    auto record = ReadRegularFile(file, kLargestRecord);
    if (!record && record.error().kind != FileErrorKind::NotFound) {
        result.found = true;
        result.complete = false;
        result.report.push_back("The record of an unfinished save cannot be read (" +
                                Describe(record.error()) + "); nothing was changed.");
        return result;
    }
    if (record) {
        result.found = true;
        if (const auto entries = Parse(record.value())) {
            result.complete = FinishSave(*entries, result.report);
        } else {
            // The record is flushed before the first rename: a torn one means none was made.
            result.report.push_back("Adultify had been stopped before it began to save; no file "
                                    "had been changed.");
        }
        if (!result.complete) return result; // tried again at the next start
        if (auto removed = RemoveIntent(gameFolder); !removed) {
            result.complete = false;
            result.report.push_back("The record of the save cannot be removed: " +
                                    Describe(removed.error()));
            return result;
        }
    }
    if (const int removed = RemoveLeftoverTemps(gameFolder); removed > 0) {
        if (!result.found)
            result.report.push_back("Adultify had been stopped before it began to save; no file "
                                    "had been changed.");
        result.found = true;
        result.report.push_back("Removed " + std::to_string(removed) +
                                " unfinished temporary file(s).");
    }
    return result;
}

FileStatus ReplaceTogether(const fs::path& gameFolder, const std::vector<FileChange>& changes,
                           const std::function<void()>& afterStep) {
    const auto step = [&] {
        if (afterStep) afterStep();
    };
    std::vector<IntentEntry> entries;
    std::vector<fs::path> backupsMade;
    // Before the record nothing is replaced: undoing is removing what this call made.
    const auto undo = [&](FileStatus failure) {
        for (const IntentEntry& e : entries)
            (void)RemoveFile(e.temp.path);
        for (const fs::path& b : backupsMade)
            (void)RemoveFile(b); // still the same file as its unchanged original
        return failure;
    };
    for (const FileChange& change : changes) {
        auto temp = WriteTempBeside(change.target, change.bytes);
        if (!temp) return undo(temp.error());
        entries.push_back({change.target, std::move(temp.value()), change.backup});
        step();
    }
    for (const FileChange& change : changes) {
        auto exists = change.backup ? EntryExists(change.target) : FileResult<bool>(false);
        if (!exists) return undo(exists.error());
        if (!exists.value()) continue; // a new file has nothing to keep
        if (auto linked = LinkBackup(change.target, *change.backup); !linked) return undo(linked);
        backupsMade.push_back(*change.backup);
        step();
    }
    if (auto recorded = WriteIntent(gameFolder, entries); !recorded) return undo(recorded);
    step();
    for (const IntentEntry& e : entries) {
        if (auto replaced = ReplaceWith(e.temp.path, e.target); !replaced) {
            FileError error = replaced.error();
            error.reason += "; the save will be finished when Adultify next starts";
            return error;
        }
        step();
    }
    if (auto removed = RemoveIntent(gameFolder); !removed) return removed;
    step();
    return {};
}

} // namespace adultify
