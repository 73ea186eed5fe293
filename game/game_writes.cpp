#include "game/game_writes.h"

#include "core/reports.h"
#include "game/neighbourhood_name.h"
#include "game/snapshots.h"
#include "iff/record_text.h"

namespace adultify {

void TryHoldGame(Module1& m) {
    if (m.gameLock || m.SimsPath.empty()) return;
    auto lock = m.fs.LockGame(m.SimsPath);
    if (lock) m.gameLock = std::move(lock.value());
}

bool HoldGameForWriting(Module1& m) {
    if (m.gameLock) return true;
    auto lock = m.fs.LockGame(m.SimsPath);
    if (lock) {
        m.gameLock = std::move(lock.value());
        return true;
    }
    const bool busy = lock.error().kind == FileErrorKind::Locked;
    ReportRefusal(m,
                  busy ? "Another Adultify is editing this game. Nothing has been changed; close "
                         "it and try again."
                       : "The game folder cannot be locked for writing. Nothing has been changed.",
                  m.SimsPath, lock.error().reason);
    return false;
}

void ReleaseGame(Module1& m) {
    m.gameLock.reset();
}

std::filesystem::path NativeFile(Module1& m, const std::string& path) {
    return TextPath(m.fs.NativePath(path));
}

void RememberRead(Module1& m, const std::string& path, const Bytes& bytes) {
    m.readStamps[path] = StampOf(NativeFile(m, path), bytes);
}

namespace {

bool Refused(Module1& m, const std::string& question, const std::string& title) {
    if (m.ui.ShowMessage(question, MsgButtons::YesNoDefaultNo, MsgIcon::Exclamation, title) ==
        MsgAnswer::Yes)
        return false;
    ++m.refusals;
    return true;
}

// The game running, or a file it may have saved since it was read: the user decides.
bool GuardsAllow(Module1& m, const std::vector<Replacement>& changes) {
    if (m.findRunningGame) {
        if (const auto game = m.findRunningGame();
            game && Refused(m,
                            "The Sims seems to be running (" + *game +
                                ").\nIt keeps its own copy of the neighbourhood and may save "
                                "over these changes, or read half-changed files.\nChange the "
                                "files anyway?",
                            "The Sims Is Running"))
            return false;
    }
    for (const Replacement& r : changes) {
        const auto read = m.readStamps.find(r.path);
        if (read == m.readStamps.end()) continue;
        if (CompareWithDisk(NativeFile(m, r.path), read->second) == Change::Same) continue;
        if (Refused(m,
                    m.fs.NativePath(r.path) +
                        "\nhas changed on disk since Adultify read it; the game may have saved "
                        "it since.\nWriting now would replace those changes. Write anyway?",
                    "File Changed"))
            return false;
    }
    return true;
}

// A write goes ahead only with a copy of what it replaces, unless the user asked for none.
bool Snapshot(Module1& m, const std::vector<Replacement>& changes, const WriteCause& cause) {
    const std::string what = "No copy of the files could be kept, so nothing has been changed.";
    if (m.writeWithoutSnapshot || (!m.snapshotRoot && !m.snapshotsUnavailable)) return true;
    if (!m.snapshotRoot) {
        ReportRefusal(m, what, m.SimsPath,
                      "no folder for snapshots could be named (no home or data folder is set)");
        return false;
    }
    std::vector<std::filesystem::path> files;
    files.reserve(changes.size());
    // Absolute: a relative name would be taken as one inside the game folder, and a game
    // given as a relative folder would then keep a snapshot without its files.
    for (const Replacement& r : changes)
        files.push_back(std::filesystem::absolute(NativeFile(m, r.path)));
    const auto taken = TakeSnapshot(*m.snapshotRoot, NativeFile(m, m.SimsPath), ChosenHood(m),
                                    cause.command, cause.resident, files);
    if (taken) return true;
    // Nothing in the game was touched, whatever went wrong in the store.
    ReportRefusal(m, what, PathText(taken.error().path), taken.error().reason);
    return false;
}

} // namespace

bool WriteGameFiles(Module1& m, const std::vector<Replacement>& changes, const std::string& what,
                    const WriteCause& cause) {
    if (!HoldGameForWriting(m) || !GuardsAllow(m, changes) || !Snapshot(m, changes, cause))
        return false;
    const FileStatus status = m.fs.Replace(m.SimsPath, changes);
    if (!status) {
        ReportFileError(m, what, status.error());
        return false;
    }
    ++m.filesChanged;
    for (const Replacement& r : changes)
        RememberRead(m, r.path, r.bytes);
    return true;
}

bool RestoreFromSnapshot(Module1& m, const std::string& id) {
    const std::string what = "The snapshot was not restored. Nothing has been changed.";
    if (!m.snapshotRoot) {
        ReportRefusal(m, what, m.SimsPath, "no folder for snapshots could be named");
        return false;
    }
    if (!HoldGameForWriting(m)) return false;
    if (m.findRunningGame) {
        if (const auto game = m.findRunningGame();
            game &&
            Refused(m, "The Sims seems to be running (" + *game + ").\nRestore the files anyway?",
                    "The Sims Is Running"))
            return false;
    }
    const auto restored = RestoreSnapshot(*m.snapshotRoot, id, NativeFile(m, m.SimsPath));
    if (!restored) {
        ReportFileError(m, what, restored.error());
        return false;
    }
    ++m.filesChanged;
    m.readStamps.clear(); // what was read no longer describes the disk
    return true;
}

void RecoverInterruptedSave(Module1& m) {
    if (m.SimsPath.empty()) return;
    TryHoldGame(m);
    if (!m.gameLock) return; // the run that holds it recovers
    const Recovery r = m.fs.Recover(m.SimsPath);
    if (!r.found) return;
    std::string text = "Adultify was stopped while it was saving. ";
    text += r.complete ? "The save has been finished:" : "The save could not be finished yet:";
    for (const std::string& line : r.report)
        text += "\n" + line;
    (void)m.ui.ShowMessage(text, MsgButtons::Ok,
                           r.complete ? MsgIcon::Information : MsgIcon::Critical,
                           "Interrupted Save");
    if (!r.complete) ++m.failedWrites;
}

} // namespace adultify
