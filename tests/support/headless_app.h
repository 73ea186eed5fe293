#pragma once
// The program's state on the in-memory window layer and the real file system.

#include "app/module1.h"
#include "iff/native_file_system.h"
#include "ui/headless/headless_window_system.h"

namespace adultify::test {

struct HeadlessApp {
    explicit HeadlessApp(FileSystem* files = nullptr) : m(ui, files ? *files : native) {}
    HeadlessWindowSystem ui;
    NativeFileSystem native;
    Module1 m;
};

} // namespace adultify::test
