#pragma once
// A command stopped in the middle of a save, as a kill would stop it, and the next start of the
// program on the same game.

#include "app/form1_events.h"
#include "game/game_writes.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/headless_app.h"

namespace adultify::test {

// Clicks `control` with the file system stopping the program after the replacement's
// `stopAt`-th step; answers whether it was stopped (false: the command ran to its end).
inline bool ClickStoppedAfterStep(HeadlessApp& app, NativeFileSystem& files, ControlId control,
                                  int stopAt) {
    int steps = 0;
    StopAfterStep(files, stopAt, steps);
    bool stopped = false;
    try {
        (void)DispatchEvent(app.run(), control, UiEvent::Click);
    } catch (const Stopped&) {
        stopped = true;
    }
    files.afterReplaceStep = nullptr;
    app.m.game.gameLock.reset(); // the process is gone, and its lock with it
    return stopped;
}

// The program started again on the game: a save left half-done is finished or dropped.
inline void NextStart(const std::string& simsPath) {
    HeadlessApp next;
    next.m.game.SimsPath = simsPath;
    RecoverInterruptedSave(next.m);
}

} // namespace adultify::test
