#pragma once
// The program's own pictures drawn with GDI at the window's scale, so that they stay sharp at
// any DPI: the five faces of the window icon, the stock picture and the splash picture.

#include <windows.h>

namespace adultify::win32 {

// 0 neutral, 1 smiling, 2 grinning, 3 frowning, 4 laughing with a nose; `size` pixels square,
// smoothed by drawing four times larger.
[[nodiscard]] HICON NewFaceIcon(int index, int size);

// A red prohibition sign on black, 25 by 25 at 100 %, into `box`.
void PaintStockPicture(HDC dc, const RECT& box);

// The game's title on blue with the program's name beneath, 320 by 240 at 100 %, into `box`.
void PaintSplashPicture(HDC dc, const RECT& box);

} // namespace adultify::win32
