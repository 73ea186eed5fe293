#include "game/game_writes.h"

#include "core/reports.h"
#include "core/status_line.h"
#include "files/record_text.h"
#include "game/neighbourhood_name.h"
#include "game/snapshots.h"
#include "text/ascii.h"

#include <algorithm>
#include <memory>
#include <utility>

namespace adultify {

namespace {

const char* const kHeldElsewhere = "another Adultify is editing this game";

void ShowLookOnlyTitle(Module1& m) {
    const std::string title(ControlId("Form1").Design().caption);
    m.ui.SetCaption("Form1", m.game.lookOnly ? title + " (read-only)" : title);
}

// Nothing can be saved or grown up; the view and the skill dialog stay.
void EnterLookOnly(Module1& m) {
    m.game.lookOnly = true;
    ShowLookOnlyTitle(m);
    m.ui.SetEnabled("menu_Save", false);
    m.ui.SetEnabled("Command1", false);
    (void)m.ui.ShowMessage("Another Adultify is editing this game. You can look at it, but "
                           "nothing can be saved until that one is closed.",
                           MsgButtons::Ok, MsgIcon::Information, "Read Only");
    SetStatus(m, "Read-only: " + std::string(kHeldElsewhere) + ".");
}

} // namespace

void TryHoldGame(Module1& m) {
    if (m.game.gameLock || m.game.SimsPath.empty()) return;
    auto lock = m.fs.LockGame(m.game.SimsPath);
    if (lock) {
        m.game.gameLock = std::move(lock.value());
        return;
    }
    if (lock.error().kind == FileErrorKind::Locked && m.game.showsLookOnly && !m.game.lookOnly)
        EnterLookOnly(m);
}

bool RetakeGame(Module1& m) {
    if (!m.game.lookOnly) return false;
    auto lock = m.fs.LockGame(m.game.SimsPath);
    if (!lock) return false;
    m.game.gameLock = std::move(lock.value());
    m.game.lookOnly = false;
    ShowLookOnlyTitle(m);
    m.ui.SetEnabled("menu_Save", m.editing.UnsavedData == kTrue);
    SetStatus(m, "The other Adultify has closed: this one can save again.");
    return true;
}

bool HoldGameForWriting(Module1& m) {
    if (m.game.gameLock) return true;
    auto lock = m.fs.LockGame(m.game.SimsPath);
    if (lock) {
        m.game.gameLock = std::move(lock.value());
        return true;
    }
    const bool busy = lock.error().kind == FileErrorKind::Locked;
    m.outcomes.notSavedBecause = NotSavedReason(lock.error());
    ReportRefusal(m,
                  busy ? "Another Adultify is editing this game. Nothing has been changed; close "
                         "it and try again."
                       : "The game folder cannot be locked for writing. Nothing has been changed.",
                  m.game.SimsPath, lock.error().reason);
    return false;
}

void ReleaseGame(Module1& m) {
    m.game.gameLock.reset();
    if (!m.game.lookOnly) return;
    m.game.lookOnly = false;
    ShowLookOnlyTitle(m);
}

std::string NotSavedReason(const FileError& error) {
    switch (error.kind) {
    case FileErrorKind::Locked: return kHeldElsewhere;
    case FileErrorKind::ReadOnly: return "the folder is read-only";
    case FileErrorKind::InUse: return "another program has the file open";
    case FileErrorKind::NotFound: return "a file is no longer there";
    case FileErrorKind::NotRegular:
    case FileErrorKind::TooLarge:
    case FileErrorKind::Unreadable: return "a file could not be read";
    case FileErrorKind::Refused: return error.reason;
    case FileErrorKind::NameTaken:
    case FileErrorKind::WriteFailed: break;
    }
    // The system's words for a folder that takes no new file.
    for (const char* readOnly : {"Read-only file system", "Permission denied", "Access is denied"})
        if (error.reason.find(readOnly) != std::string::npos) return "the folder is read-only";
    return "the file could not be written (" + error.reason + ")";
}

std::string NothingSavedText(const Outcomes& outcomes) {
    return "Nothing was saved: " +
           (outcomes.notSavedBecause.empty() ? std::string("the command was stopped")
                                             : outcomes.notSavedBecause) +
           ".";
}

std::filesystem::path NativeFile(Module1& m, const std::string& path) {
    return TextPath(m.fs.NativePath(path));
}

void RememberRead(Module1& m, const std::string& path, const Bytes& bytes) {
    m.hood.readStamps[path] = m.fs.Stamp(path, bytes);
}

namespace {

bool Refused(Module1& m, const std::string& question, const std::string& title,
             const char* reason) {
    if (m.ui.ShowMessage(question, MsgButtons::YesNoDefaultNo, MsgIcon::Exclamation, title) ==
        MsgAnswer::Yes)
        return false;
    ++m.outcomes.refusals;
    m.outcomes.notSavedBecause = reason;
    return true;
}

} // namespace

bool GameRunningAllows(Module1& m, const std::string& question) {
    if (!m.findRunningGame) return true;
    const auto game = m.findRunningGame();
    return !game || !Refused(m, "The Sims seems to be running (" + *game + ").\n" + question,
                             "The Sims Is Running", "the game is running");
}

namespace {

// One write through the door: what it is for, besides the files it replaces.
struct Door {
    std::string what;        // what was not done, for a report
    WriteCause cause;        // for the snapshot
    const char* question;    // the game-running question's last line
    const char* copyRefused; // what a refusal to keep a copy says; none: `what`
    int hood = 0;            // the neighbourhood whose snapshots keep the copy
    std::string keep;        // a restore: the snapshot it brings back; then a copy is a must
};

// Whether the file is still what was read earlier (`was`), by the read just made of it.
bool SameAsRead(Module1& m, const Replacement& r, const FileStamp& was) {
    if (!r.read) return m.fs.CompareWithRead(r.path, was) == Change::Same; // not read now
    const FileStamp& now = r.read->stamp;
    return r.read->bytes && now.mtimeNs == was.mtimeNs && now.size == was.size &&
           now.hash == was.hash;
}

// A file the game may have saved since it was read: the user decides. Each target has been
// read just now, after the game-running question.
bool FilesAllow(Module1& m, const std::vector<Replacement>& changes) {
    for (const Replacement& r : changes) {
        const auto read = m.hood.readStamps.find(r.path);
        if (read == m.hood.readStamps.end()) continue;
        if (SameAsRead(m, r, read->second)) continue;
        if (Refused(m,
                    m.fs.NativePath(r.path) +
                        "\nhas changed on disk since Adultify read it; the game may have saved "
                        "it since.\nWriting now would replace those changes. Write anyway?",
                    "File Changed", "a file changed on disk since it was read"))
            return false;
    }
    return true;
}

const char* const kNoSnapshot = "no copy of the files could be kept";

// A game file's name relative to the game folder, "/" between names, as the machine spells
// it; nothing for a file outside the game folder.
std::optional<std::string> NameInGame(Module1& m, const std::string& file) {
    std::string game = m.fs.NativePath(m.game.SimsPath);
    if (!game.empty() && game.back() != '\\' && game.back() != '/') game += '/';
    const std::string native = m.fs.NativePath(file);
    if (native.size() <= game.size() || native.compare(0, game.size(), game) != 0)
        return std::nullopt;
    std::string name = native.substr(game.size());
    std::replace(name.begin(), name.end(), '\\', '/');
    return name;
}

// Each target inside the game folder as it is now, read once: the changed-file check, the
// snapshot and the replacement all take this read. One that cannot be read is left to them.
void ReadTargets(Module1& m, std::vector<Replacement>& changes) {
    for (Replacement& r : changes) {
        if (!NameInGame(m, r.path)) continue;
        auto bytes = m.fs.ReadFile(r.path, kLargestGameFile);
        if (!bytes && bytes.error().kind == FileErrorKind::NotFound) {
            r.read = TargetRead{nullptr, {}};
        } else if (bytes) {
            const FileStamp stamp = m.fs.Stamp(r.path, bytes.value());
            r.read = TargetRead{std::make_shared<const Bytes>(std::move(bytes.value())), stamp};
        }
    }
}

// What `file` holds now: the read made of it for this write, if any.
FileResult<Bytes> ReadNow(Module1& m, const std::string& file,
                          const std::vector<Replacement>* targets) {
    if (targets)
        for (const Replacement& r : *targets)
            if (r.path == file && r.read) {
                if (!r.read->bytes)
                    return FileError{FileErrorKind::NotFound, "no such file", NativeFile(m, file)};
                return *r.read->bytes;
            }
    return m.fs.ReadFile(file, kLargestGameFile);
}

// The files as they are now, read through the game's file system (or as `targets` read
// them); one that does not exist is left out. A file over the game's size limit is refused,
// unless `allowLarge`.
FileResult<std::vector<SnapshotCopy>> ReadCopies(Module1& m, const std::vector<std::string>& files,
                                                 bool allowLarge,
                                                 const std::vector<Replacement>* targets) {
    std::vector<SnapshotCopy> copies;
    for (const std::string& file : files) {
        const auto name = NameInGame(m, file);
        if (!name)
            return FileError{FileErrorKind::Refused, "the file lies outside the game folder",
                             NativeFile(m, file)};
        const bool twice = std::any_of(copies.begin(), copies.end(),
                                       [&](const SnapshotCopy& c) { return c.name == *name; });
        if (twice) continue;
        auto bytes = ReadNow(m, file, targets);
        if (!bytes && bytes.error().kind == FileErrorKind::NotFound) continue;
        if (!bytes && bytes.error().kind == FileErrorKind::TooLarge && allowLarge) {
            copies.push_back({*name, {}, NativeFile(m, file)});
            continue;
        }
        if (!bytes) return bytes.error();
        copies.push_back({*name, std::move(bytes.value()), std::nullopt});
    }
    return copies;
}

// Before files are replaced, a copy of them in the snapshot store, unless the user asked for
// none or no store was ever configured (a program that keeps none); a restore always keeps
// one, so that it can be undone. Answers the snapshot's id ("" when none was wanted), or
// nothing after reporting the refusal: no game file was touched.
std::optional<std::string> KeepCopy(Module1& m, const std::string& what, int hood,
                                    const WriteCause& cause, const std::vector<std::string>& files,
                                    const std::string& keep = {},
                                    const std::vector<Replacement>* targets = nullptr) {
    const bool wanted = !keep.empty() || (!m.game.writeWithoutSnapshot &&
                                          (m.game.snapshotRoot || m.game.snapshotsUnavailable));
    if (!wanted) return "";
    if (!m.game.snapshotRoot) {
        ReportRefusal(m, what, m.game.SimsPath,
                      "no folder for snapshots could be named (no home or data folder is set)");
        return std::nullopt;
    }
    auto copies = ReadCopies(m, files, !keep.empty(), targets);
    auto taken =
        copies ? TakeSnapshot(*m.game.snapshotRoot, NativeFile(m, m.game.SimsPath), hood,
                              {cause.command, cause.resident, cause.name}, copies.value(), keep)
               : FileResult<SnapshotInfo>(copies.error());
    if (taken) return taken.value().id;
    ReportRefusal(m, what, PathText(taken.error().path), taken.error().reason);
    return std::nullopt;
}

// The one way game files are replaced: held, asked, copied, then replaced all or none. The
// game-running question is not asked again when the command asked it before its work.
bool PassDoor(Module1& m, std::vector<Replacement> changes, const Door& door) {
    if (!HoldGameForWriting(m)) return false;
    const bool asked = std::exchange(m.editing.askedBeforeWork, false);
    if (!asked && !GameRunningAllows(m, door.question)) return false;
    ReadTargets(m, changes);
    if (!FilesAllow(m, changes)) return false;
    std::vector<std::string> files;
    files.reserve(changes.size());
    for (const Replacement& r : changes)
        files.push_back(r.path);
    if (!KeepCopy(m, door.copyRefused ? door.copyRefused : door.what, door.hood, door.cause, files,
                  door.keep, &changes)) {
        m.outcomes.notSavedBecause = kNoSnapshot;
        return false;
    }
    const FileStatus status =
        changes.empty() ? FileStatus{} : m.fs.Replace(m.game.SimsPath, changes);
    if (!status) {
        ReportFileError(m, door.what, status.error());
        m.outcomes.notSavedBecause = NotSavedReason(status.error());
        return false;
    }
    m.outcomes.notSavedBecause.clear();
    ++m.outcomes.filesChanged;
    for (const Replacement& r : changes)
        RememberRead(m, r.path, r.bytes);
    return true;
}

} // namespace

bool WriteGameFiles(Module1& m, std::vector<Replacement> changes, const std::string& what,
                    const WriteCause& cause) {
    return PassDoor(m, std::move(changes),
                    {what,
                     cause,
                     kChangeFilesQuestion,
                     "No copy of the files could be kept, so nothing has been changed.",
                     ChosenHood(m),
                     {}});
}

bool RestoreFromSnapshot(Module1& m, const std::string& id) {
    const std::string what = "The snapshot was not restored. Nothing has been changed.";
    if (!m.game.snapshotRoot) {
        ReportRefusal(m, what, m.game.SimsPath, "no folder for snapshots could be named");
        return false;
    }
    const auto snapshot =
        ReadSnapshotFiles(*m.game.snapshotRoot, id, NativeFile(m, m.game.SimsPath));
    if (!snapshot) {
        ReportFileError(m, what, snapshot.error());
        return false;
    }
    const SnapshotInfo& info = snapshot.value().info;
    std::vector<Replacement> changes;
    changes.reserve(snapshot.value().copies.size());
    for (const SnapshotCopy& copy : snapshot.value().copies) {
        std::string name = copy.name;
        std::replace(name.begin(), name.end(), '/', '\\');
        changes.push_back({m.game.SimsPath + name, copy.bytes, std::nullopt});
    }
    const WriteCause cause{"restore", info.resident, info.name};
    return PassDoor(m, std::move(changes),
                    {what, cause, "Restore the files anyway?", nullptr, info.hood, id});
}

namespace {

// The folders saves write into: each neighbourhood's folder and its characters' folder.
std::vector<std::string> SaveFolders(Module1& m) {
    std::vector<std::string> folders;
    for (const std::string& name : m.fs.List(m.game.SimsPath)) {
        if (HoodOfFolderName(name) == 0) continue;
        folders.push_back(m.game.SimsPath + name);
        folders.push_back(m.game.SimsPath + name + "\\Characters");
    }
    return folders;
}

// The neighbourhood whose folder holds `file`; 0 for none.
int HoodOfFile(Module1& m, const std::filesystem::path& file) {
    const std::filesystem::path game = std::filesystem::absolute(NativeFile(m, m.game.SimsPath));
    const auto relative = file.lexically_normal().lexically_relative(game.lexically_normal());
    if (relative.empty()) return 0;
    return HoodOfFolderName(PathText(*relative.begin()));
}

// Before an interrupted save replaces files: the game-running question, then a snapshot.
bool AllowFinishing(Module1& m, const std::vector<std::filesystem::path>& targets,
                    std::string& snapshotNote) {
    if (!GameRunningAllows(m, "Adultify was stopped while it was saving; finishing that save "
                              "now replaces files the game may save over.\nFinish the save "
                              "anyway?"))
        return false;
    std::vector<std::string> files;
    files.reserve(targets.size());
    for (const std::filesystem::path& target : targets)
        files.push_back(PathText(target));
    const std::optional<std::string> id = KeepCopy(
        m, "No copy of the files could be kept, so the interrupted save was not finished.",
        HoodOfFile(m, std::filesystem::absolute(targets.front())), {"finish save", "", ""}, files);
    if (!id) return false;
    if (!id->empty())
        snapshotNote = "A copy of the files it replaced is kept in snapshot " + *id + ".";
    return true;
}

} // namespace

void RecoverInterruptedSave(Module1& m) {
    if (m.game.SimsPath.empty() || m.game.recoveredGame == m.game.SimsPath) return;
    TryHoldGame(m);
    if (!m.game.gameLock) return; // the run that holds it recovers
    m.game.recoveredGame = m.game.SimsPath;
    std::string snapshotNote;
    const Recovery r = m.fs.Recover(
        m.game.SimsPath, [&m] { return SaveFolders(m); },
        [&](const std::vector<std::filesystem::path>& t) {
            return AllowFinishing(m, t, snapshotNote);
        });
    if (!r.found) return;
    std::string text = "Adultify was stopped while it was saving. ";
    text += r.complete   ? "The save has been finished:"
            : r.declined ? "The save was left as it is:"
                         : "The save could not be finished yet:";
    for (const std::string& line : r.report)
        text += "\n" + line;
    if (!snapshotNote.empty()) text += "\n" + snapshotNote;
    (void)m.ui.ShowMessage(text, MsgButtons::Ok,
                           r.complete   ? MsgIcon::Information
                           : r.declined ? MsgIcon::Exclamation
                                        : MsgIcon::Critical,
                           "Interrupted Save");
    m.outcomes.filesChanged += r.replaced; // a refusal later does not undo it
    if (!r.complete && !r.declined) ++m.outcomes.failedWrites;
}

} // namespace adultify
