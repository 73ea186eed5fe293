#include "game/game_writes.h"

#include "core/reports.h"

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

bool WriteGameFiles(Module1& m, const std::vector<Replacement>& changes, const std::string& what) {
    if (!HoldGameForWriting(m)) return false;
    const FileStatus status = m.fs.Replace(m.SimsPath, changes);
    if (status) return true;
    ReportFileError(m, what, status.error());
    return false;
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
