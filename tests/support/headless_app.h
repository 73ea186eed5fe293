#pragma once
// The program's state on the in-memory window layer, a clock that moves only when the program
// waits, and the real file system.

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
};

} // namespace adultify::test
