// Compiled into the Windows build's app_tests: the window layer's names and the
// program's own must not collide with the macros of <windows.h>.
#ifdef _WIN32
#include <windows.h>
#endif

#include "app/form1_events.h"
#include "app/platform.h"
#include "core/reports.h"
#include "core/status_line.h"
#include "files/file_system.h"
#include "ui/headless/headless_window_system.h"
#include "ui/window_system.h"

namespace adultify {

// Calls every name that <windows.h> could turn into another.
[[maybe_unused]] void UseTheNames(WindowSystem& ui, Module1& m, FileSystem& files) {
    ui.DoEvents();
    (void)ui.ShowMessage("text", MsgButtons::Ok, MsgIcon::None, "title");
    SetStatus(m, "Idle");
    (void)files.Replace("C:\\", {{"C:\\a", Bytes{}, std::nullopt}});
}

} // namespace adultify
