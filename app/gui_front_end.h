#pragma once
// The editor: the logic on the Qt window layer.

#include "app/module1.h"
#include "game/registry.h"
#include "game/wine_prefix.h"
#include "iff/native_file_system.h"
#include "ui/qt/qt_window_system.h"

#include <memory>

namespace adultify {

// Everything one run of the editor holds, wired together: events reach the logic through
// the dispatcher, and a fatal stop ends the run.
class Editor {
  public:
    explicit Editor(const EnvironmentLookup& env);
    // Start-up, as the main window's load; false when the program ended during it.
    bool Load();
    // Shows the main window and runs until the program ends; answers the exit code.
    int Run();

    Module1& m() { return *m_; }
    qt::QtWindowSystem& ui() { return *ui_; }

  private:
    std::unique_ptr<qt::QtWindowSystem> ui_;
    std::unique_ptr<Registry> registry_;
    std::unique_ptr<NativeFileSystem> fs_;
    std::unique_ptr<Module1> m_;
};

// Where the editor cannot open a window, the reason in words; empty when it can.
[[nodiscard]] std::string NoDisplayReason(const EnvironmentLookup& env);

} // namespace adultify
