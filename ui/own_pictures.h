#pragma once
// The program's own pictures (the five faces of the window icon, the stock picture, the splash)
// described once as shapes on a grid, so that every window layer draws the same ones, sharp
// at any scale.

#include "ui/window_system.h"

#include <optional>
#include <span>
#include <string_view>

namespace adultify {

struct GridPoint {
    float x = 0, y = 0;
};

// One step of an outline.
struct PathStep {
    enum class Kind { MoveTo, LineTo, QuadTo, CubicTo } kind = Kind::MoveTo;
    GridPoint a, b, c; // the end point last: QuadTo (control, end), CubicTo (two controls, end)
};

enum class TextFace { Serif, Sans };

struct Shape {
    enum class Kind {
        Ellipse, // in the box from `at` to `to`
        Line,    // from `at` to `to`
        Path,    // `steps`, closed when filled
        Text,    // `words`, centred in the box from `at` to `to`, `size` grid units high
    } kind = Kind::Ellipse;
    GridPoint at{}, to{};
    std::span<const PathStep> steps{};
    std::optional<Rgb> pen{};  // none: no outline
    float penWidth = 1;        // in grid units
    bool roundPen = false;     // round ends and joins
    std::optional<Rgb> fill{}; // none: not filled; a text's colour
    std::string_view words{};
    TextFace face = TextFace::Sans;
    float size = 0;
    bool bold = false;
};

struct OwnPicture {
    float width = 0, height = 0; // in grid units: its size in pixels at 100 %
    std::optional<Rgb> background;
    std::optional<Rgb> backgroundBottom; // a blend from the background at the top to this
    std::span<const Shape> shapes;       // drawn in this order
};

// 0 neutral, 1 smiling, 2 grinning, 3 frowning, 4 laughing with a nose; 32 units square.
[[nodiscard]] OwnPicture FacePicture(int index);

// A red prohibition sign on black, 25 by 25.
[[nodiscard]] OwnPicture StockPicture();

// The game's title on blue with the program's name beneath, 320 by 240.
[[nodiscard]] OwnPicture SplashPicture();

} // namespace adultify
