#pragma once
// The Windows editor: the logic on the Win32 window layer, wired as the Qt editor is.

#include "app/found_games.h"
#include "app/platform.h"
#include "app/run_state.h"
#include "core/module1.h"
#include "ui/win32/win32_window_system.h"

#include <memory>

namespace adultify {

// Everything one run of the editor holds: events reach the logic through the dispatcher, and
// a fatal stop ends the run.
class Win32Editor {
  public:
    // `clock`: the time the run goes by; the real time of day when none is given.
    explicit Win32Editor(const EnvironmentLookup& env, Clock* clock = nullptr);
    // Start-up, as the main window's load; false when the program ended during it.
    bool Load();
    // Shows the main window and runs until the program ends; answers the exit code.
    int Run();

    Module1& m() { return *m_; }
    RunState run() { return RunState(*m_, shelf_); }
    win32::Win32WindowSystem& ui() { return *ui_; }

  private:
    Platform platform_;
    SystemClock systemClock_;
    std::unique_ptr<win32::Win32WindowSystem> ui_;
    std::unique_ptr<Module1> m_;
    GameShelf shelf_;
};

} // namespace adultify
