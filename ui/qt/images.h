#pragma once
// The program's own pictures, drawn in code so that they stay sharp at any screen scale.

#include <QIcon>
#include <QImage>

namespace adultify::qt {

// The five smiling faces of the window icon: 0 neutral, 1 smiling, 2 grinning, 3 frowning,
// 4 laughing with a nose.
[[nodiscard]] QImage FaceImage(int index, int size);
[[nodiscard]] QIcon FaceIcon(int index);

// A red prohibition sign on black, 25 by 25 at 100 %.
[[nodiscard]] QImage StockPicture(qreal devicePixelRatio = 1.0);

// The game's title on blue with the program's name beneath, 320 by 240 at 100 %.
[[nodiscard]] QImage SplashPicture(qreal devicePixelRatio = 1.0);

} // namespace adultify::qt
