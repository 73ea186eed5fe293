#pragma once
// The editor: the logic on the Qt window layer.

#include "app/found_games.h"
#include "app/platform.h"
#include "app/run_state.h"
#include "core/module1.h"
#include "ui/qt/qt_window_system.h"

#include <memory>

namespace adultify {

// Everything one run of the editor holds, wired together: events reach the logic through
// the dispatcher, and a fatal stop ends the run.
class Editor {
  public:
    // `clock`: the time the run goes by; the real time of day when none is given.
    explicit Editor(const EnvironmentLookup& env, Clock* clock = nullptr);
    // Start-up, as the main window's load; false when the program ended during it.
    bool Load();
    // Shows the main window and runs until the program ends; answers the exit code.
    int Run();

    Module1& m() { return *m_; }
    RunState run() { return RunState(*m_, shelf_); }
    qt::QtWindowSystem& ui() { return *ui_; }

  private:
    Platform platform_;
    SystemClock systemClock_;
    std::unique_ptr<qt::QtWindowSystem> ui_;
    std::unique_ptr<Module1> m_;
    GameShelf shelf_;
};

} // namespace adultify
