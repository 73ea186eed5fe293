#pragma once
// The program's state on the in-memory window layer, a clock that moves only when the program
// waits, and the real file system.

#include "app/form1_events.h"
#include "core/module1.h"
#include "files/native_file_system.h"
#include "ui/headless/headless_window_system.h"

namespace adultify::test {

struct HeadlessApp {
    explicit HeadlessApp(FileSystem* files = nullptr) : m(ui, files ? *files : native, clock) {}
    HeadlessWindowSystem ui;
    NativeFileSystem native;
    ManualClock clock;
    Module1 m;
    GameShelf shelf; // none found: the game folder is given

    RunState run() { return RunState(m, shelf, nullptr); }

    // Sets the cooking skill of List1's line `line` to `value` through the skill dialog, as a
    // user does: an unsaved edit.
    void EditCooking(int value, int line = 0) {
        ui.ListSelect("List1", line);
        (void)DispatchEvent(run(), "List1", UiEvent::Click);
        ui.onModal = [this, value](FormId) {
            if (ui.SetScrollValue("Form3.HScroll1", value))
                (void)DispatchEvent(run(), "Form3.HScroll1", UiEvent::Change);
            (void)DispatchEvent(run(), "Form3.Command1", UiEvent::Click);
        };
        (void)DispatchEvent(run(), "Label18", UiEvent::Click);
        ui.onModal = nullptr;
    }
};

} // namespace adultify::test
