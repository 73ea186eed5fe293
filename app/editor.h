#pragma once
// The editor: the logic on a window layer (Qt's or Win32's), the same for both.

#include "app/found_games.h"
#include "app/platform.h"
#include "app/run_state.h"
#include "core/module1.h"
#include "ui/window_system.h"

namespace adultify {

// Everything one run of the editor holds, wired together: events reach the logic through the
// dispatcher, and a fatal stop ends the run. The window layer is the caller's, made before the
// editor and kept after it.
class Editor {
  public:
    // `clock`: the time the run goes by; the real time of day when none is given.
    Editor(WindowSystem& ui, const EnvironmentLookup& env, Clock* clock = nullptr);
    ~Editor();
    Editor(const Editor&) = delete;
    Editor& operator=(const Editor&) = delete;

    // Start-up, as the main window's load; false when the program ended during it.
    bool Load();
    // Shows the main window and runs until the program ends; answers the exit code.
    int Run();

    Module1& m() { return m_; }
    RunState run() { return RunState(m_, shelf_, &platform_); }

  private:
    WindowSystem& ui_;
    Platform platform_;
    SystemClock systemClock_;
    Module1 m_;
    GameShelf shelf_;
};

template <class Layer> struct OwnLayer { Layer layer; };

// An editor on a window layer of its own, made before it and gone after it.
template <class Layer> class EditorOn : private OwnLayer<Layer>, public Editor {
  public:
    explicit EditorOn(const EnvironmentLookup& env, Clock* clock = nullptr)
        : Editor(this->layer, env, clock) {}

    Layer& ui() { return this->layer; }
};

} // namespace adultify
