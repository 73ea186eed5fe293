#pragma once
// The font every window is laid out for.

namespace adultify::qt {

// Makes the application's font the one the layout's sizes were made for: 11 pixels, as the
// 8-point dialog font of old at 100 %. Call once the QApplication exists.
void UseDialogFont();

} // namespace adultify::qt
