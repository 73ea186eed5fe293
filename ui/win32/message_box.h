#pragma once
// Message boxes on MessageBoxW. A box without a Cancel button still closes with Escape and
// its close box, answering No to a question and OK to a notice.

#include "ui/window_system.h"

#include <windows.h>

namespace adultify::win32 {

[[nodiscard]] UINT MessageBoxFlags(MsgButtons buttons, MsgIcon icon);

// `owner` is disabled while the box is open; none makes the box task-modal.
[[nodiscard]] MsgAnswer RunMessageBox(HWND owner, std::string_view text, MsgButtons buttons,
                                      MsgIcon icon, std::string_view title);

// The message box open on the calling thread and shown, if any: how a test or the screenshot
// tool answers one as a user would.
[[nodiscard]] HWND OpenMessageBoxOfThisThread();

} // namespace adultify::win32
