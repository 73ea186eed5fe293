#include "ui/own_pictures.h"

#include <algorithm>
#include <array>
#include <vector>

namespace adultify {

namespace {

using K = PathStep::Kind;

constexpr Rgb kMouth{60, 30, 10};

// The shape `s` outlined by the pen.
Shape Drawn(Shape s, std::optional<Rgb> pen, float width, bool round) {
    s.pen = pen;
    s.penWidth = width;
    s.roundPen = round;
    return s;
}

Shape Ellipse(GridPoint at, GridPoint to, std::optional<Rgb> pen, float width,
              std::optional<Rgb> fill) {
    return Drawn({.at = at, .to = to, .fill = fill}, pen, width, false);
}

Shape Outline(std::span<const PathStep> steps, Rgb pen, float width, std::optional<Rgb> fill) {
    return Drawn({.kind = Shape::Kind::Path, .steps = steps, .fill = fill}, pen, width, true);
}

Shape Line(GridPoint from, GridPoint to, Rgb pen, float width, bool round) {
    return Drawn({.kind = Shape::Kind::Line, .at = from, .to = to}, pen, width, round);
}

Shape Words(std::string_view words, TextFace face, float size, bool bold, Rgb colour, float top,
            float bottom) {
    return {.kind = Shape::Kind::Text,
            .at = {0, top},
            .to = {320, bottom},
            .fill = colour,
            .words = words,
            .face = face,
            .size = size,
            .bold = bold};
}

constexpr PathStep kGrin[] = {{K::MoveTo, {8.5F, 18.5F}, {}, {}},
                              {K::CubicTo, {11, 27.5F}, {21, 27.5F}, {23.5F, 18.5F}}};
constexpr PathStep kFrown[] = {{K::MoveTo, {10, 25}, {}, {}}, {K::QuadTo, {16, 18}, {22, 25}, {}}};
constexpr PathStep kLaugh[] = {{K::MoveTo, {8, 19.5F}, {}, {}},
                               {K::LineTo, {24, 19.5F}, {}, {}},
                               {K::QuadTo, {16, 30.5F}, {8, 19.5F}, {}}};
constexpr PathStep kSmile[] = {{K::MoveTo, {9.5F, 19.5F}, {}, {}},
                               {K::QuadTo, {16, 26.5F}, {22.5F, 19.5F}, {}}};
constexpr PathStep kBob[] = {{K::MoveTo, {160, 56}, {}, {}},
                             {K::LineTo, {174, 86}, {}, {}},
                             {K::LineTo, {160, 116}, {}, {}},
                             {K::LineTo, {146, 86}, {}, {}}};

// The head, a lighter patch towards the top left as light falling on it, the eyes; then
// each face's mouth (and the laughing one's nose).
std::vector<Shape> MakeFace(int index) {
    const Rgb eye{40, 30, 10};
    std::vector<Shape> f{
        Ellipse({1.5F, 1.5F}, {30.5F, 30.5F}, Rgb{120, 80, 0}, 1.2F, Rgb{250, 215, 40}),
        Ellipse({5, 4}, {19, 16}, std::nullopt, 0, Rgb{255, 245, 130}),
        Ellipse({9.5F, 9}, {13, 14}, std::nullopt, 0, eye),
        Ellipse({19, 9}, {22.5F, 14}, std::nullopt, 0, eye)};
    switch (index) {
    case 0: // neutral
        f.push_back(Line({10, 22}, {22, 22}, kMouth, 2, true));
        break;
    case 2: // grinning, open mouth
        f.push_back(Outline(kGrin, kMouth, 2, Rgb{120, 20, 20}));
        break;
    case 3: // frowning
        f.push_back(Outline(kFrown, kMouth, 2, std::nullopt));
        break;
    case 4: // laughing, with a nose and open mouth
        f.push_back(Line({16, 13.5F}, {16, 17}, Rgb{150, 90, 0}, 1.4F, false));
        f.push_back(Outline(kLaugh, kMouth, 2, Rgb{150, 20, 20}));
        break;
    default: // smiling
        f.push_back(Outline(kSmile, kMouth, 2, std::nullopt));
    }
    return f;
}

} // namespace

OwnPicture FacePicture(int index) {
    static const std::array<std::vector<Shape>, 5> faces = {MakeFace(0), MakeFace(1), MakeFace(2),
                                                            MakeFace(3), MakeFace(4)};
    return {32, 32, std::nullopt, std::nullopt,
            faces[static_cast<std::size_t>(std::clamp(index, 0, 4))]};
}

OwnPicture StockPicture() {
    static const std::array<Shape, 2> shapes = {
        Ellipse({3.5F, 3.5F}, {21.5F, 21.5F}, Rgb{220, 0, 0}, 3, std::nullopt),
        Line({6.5F, 18.5F}, {18.5F, 6.5F}, Rgb{220, 0, 0}, 3, false)};
    return {25, 25, Rgb{0, 0, 0}, std::nullopt, shapes};
}

OwnPicture SplashPicture() {
    static const std::array<Shape, 3> shapes = {
        // A green plumb-bob diamond above the title.
        Outline(kBob, Rgb{0, 90, 0}, 1.5F, Rgb{60, 220, 60}),
        Words("The Sims", TextFace::Serif, 44, true, Rgb{255, 255, 255}, 118, 174),
        Words("Adultify", TextFace::Sans, 24, false, Rgb{255, 220, 90}, 168, 202)};
    return {320, 240, Rgb{20, 60, 170}, Rgb{0, 20, 90}, shapes};
}

} // namespace adultify
