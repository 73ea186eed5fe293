#include "ui/win32/gdi_images.h"

#include "ui/own_pictures.h"
#include "ui/win32/wide_text.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace adultify::win32 {

namespace {

// Drawing units to pixels: the pictures are laid out on a fixed grid and scaled as a whole.
struct Grid {
    double unit;
    int left, top;
    [[nodiscard]] int X(double x) const { return left + static_cast<int>(std::lround(x * unit)); }
    [[nodiscard]] int Y(double y) const { return top + static_cast<int>(std::lround(y * unit)); }
    [[nodiscard]] POINT P(double x, double y) const { return {X(x), Y(y)}; }
    [[nodiscard]] int W(double w) const {
        return std::max(1, static_cast<int>(std::lround(w * unit)));
    }
};

COLORREF Ref(Rgb c) {
    return RGB(c.r, c.g, c.b);
}

// A pen of `width` pixels: round ends and joins (GDI's defaults, 0) where asked, else square
// ends and bevelled joins, as Qt's own pen.
HPEN NewPen(const Shape& s, COLORREF colour, int width) {
    LOGBRUSH brush{BS_SOLID, colour, 0};
    const DWORD ends =
        s.roundPen ? DWORD{PS_ENDCAP_ROUND} : DWORD{PS_ENDCAP_SQUARE | PS_JOIN_BEVEL};
    return ExtCreatePen(PS_GEOMETRIC | ends, static_cast<DWORD>(width), &brush, 0, nullptr);
}

// A quadratic curve as the cubic GDI draws, from the point the path is at.
void QuadTo(HDC dc, const Grid& g, GridPoint from, GridPoint control, GridPoint to) {
    const auto third = [](float a, float b) { return a + 2.0 / 3 * (b - a); };
    const POINT pts[3] = {g.P(third(from.x, control.x), third(from.y, control.y)),
                          g.P(third(to.x, control.x), third(to.y, control.y)), g.P(to.x, to.y)};
    PolyBezierTo(dc, pts, 3);
}

void TracePath(HDC dc, const Grid& g, const Shape& s) {
    GridPoint at;
    for (const PathStep& step : s.steps) {
        switch (step.kind) {
        case PathStep::Kind::MoveTo:
            MoveToEx(dc, g.X(step.a.x), g.Y(step.a.y), nullptr);
            at = step.a;
            break;
        case PathStep::Kind::LineTo:
            LineTo(dc, g.X(step.a.x), g.Y(step.a.y));
            at = step.a;
            break;
        case PathStep::Kind::QuadTo:
            QuadTo(dc, g, at, step.a, step.b);
            at = step.b;
            break;
        case PathStep::Kind::CubicTo: {
            const POINT pts[3] = {g.P(step.a.x, step.a.y), g.P(step.b.x, step.b.y),
                                  g.P(step.c.x, step.c.y)};
            PolyBezierTo(dc, pts, 3);
            at = step.c;
            break;
        }
        }
    }
}

void DrawText(HDC dc, const Grid& g, const Shape& s, COLORREF colour) {
    HFONT font =
        CreateFontW(-g.W(s.size), 0, 0, 0, s.bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                    DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                    DEFAULT_PITCH, s.face == TextFace::Serif ? L"Times New Roman" : L"Tahoma");
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, colour);
    RECT area{g.X(s.at.x), g.Y(s.at.y), g.X(s.to.x), g.Y(s.to.y)};
    const std::wstring words = Widen(s.words);
    DrawTextW(dc, words.c_str(), static_cast<int>(words.size()), &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

// `mask` draws every shape white: where the picture covers.
void DrawShape(HDC dc, const Grid& g, const Shape& s, bool mask) {
    const auto colour = [mask](Rgb c) { return mask ? RGB(255, 255, 255) : Ref(c); };
    if (s.kind == Shape::Kind::Text) {
        if (!mask) DrawText(dc, g, s, colour(s.fill.value_or(Rgb{})));
        return;
    }
    HPEN pen = s.pen ? NewPen(s, colour(*s.pen), g.W(s.penWidth)) : nullptr;
    HBRUSH brush = s.fill ? CreateSolidBrush(colour(*s.fill)) : nullptr;
    HGDIOBJ oldPen = SelectObject(dc, pen ? pen : GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, brush ? brush : GetStockObject(NULL_BRUSH));
    switch (s.kind) {
    case Shape::Kind::Ellipse:
        Ellipse(dc, g.X(s.at.x), g.Y(s.at.y), g.X(s.to.x), g.Y(s.to.y));
        break;
    case Shape::Kind::Line:
        MoveToEx(dc, g.X(s.at.x), g.Y(s.at.y), nullptr);
        LineTo(dc, g.X(s.to.x), g.Y(s.to.y));
        break;
    case Shape::Kind::Path:
        BeginPath(dc);
        TracePath(dc, g, s);
        if (s.fill) CloseFigure(dc);
        EndPath(dc);
        if (s.fill)
            StrokeAndFillPath(dc);
        else
            StrokePath(dc);
        break;
    case Shape::Kind::Text: break;
    }
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    if (pen) DeleteObject(pen);
    if (brush) DeleteObject(brush);
}

// The background: a vertical blend, one band per pixel row, or one colour.
void PaintBackground(HDC dc, const OwnPicture& picture, const RECT& box) {
    if (!picture.background) return;
    const Rgb top = *picture.background;
    const Rgb bottom = picture.backgroundBottom.value_or(top);
    const int height = box.bottom - box.top;
    for (int row = 0; row < height; ++row) {
        const double t = height > 1 ? static_cast<double>(row) / (height - 1) : 0;
        const auto mix = [t](int from, int to) {
            return static_cast<BYTE>(std::lround(from + (to - from) * t));
        };
        HBRUSH band =
            CreateSolidBrush(RGB(mix(top.r, bottom.r), mix(top.g, bottom.g), mix(top.b, bottom.b)));
        const RECT line{box.left, box.top + row, box.right, box.top + row + 1};
        FillRect(dc, &line, band);
        DeleteObject(band);
    }
}

void Draw(HDC dc, const Grid& g, const OwnPicture& picture, bool mask) {
    for (const Shape& s : picture.shapes)
        DrawShape(dc, g, s, mask);
}

// `picture` into `box`, scaled to its width.
void Paint(HDC dc, const OwnPicture& picture, const RECT& box) {
    PaintBackground(dc, picture, box);
    Draw(dc, Grid{static_cast<double>(box.right - box.left) / picture.width, box.left, box.top},
         picture, false);
}

// A top-down 32-bit DIB section, black.
HBITMAP NewCanvas(HDC dc, int width, int height, std::uint32_t** pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    *pixels = static_cast<std::uint32_t*>(bits);
    return bitmap;
}

} // namespace

HICON NewFaceIcon(int index, int size) {
    constexpr int kSamples = 4;
    const int big = size * kSamples;
    HDC dc = CreateCompatibleDC(nullptr);
    std::uint32_t* colour = nullptr;
    std::uint32_t* cover = nullptr;
    HBITMAP colourBitmap = NewCanvas(dc, big, big, &colour);
    HBITMAP coverBitmap = NewCanvas(dc, big, big, &cover);
    const OwnPicture face = FacePicture(index);
    const Grid grid{static_cast<double>(big) / face.width, 0, 0};
    HGDIOBJ old = SelectObject(dc, colourBitmap);
    Draw(dc, grid, face, false);
    SelectObject(dc, coverBitmap);
    Draw(dc, grid, face, true);
    GdiFlush();

    // Each icon pixel averages its samples: coverage gives the alpha, the colour is un-weighted.
    std::uint32_t* out = nullptr;
    HBITMAP iconBitmap = NewCanvas(dc, size, size, &out);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            unsigned r = 0, gr = 0, b = 0, a = 0;
            for (int sy = 0; sy < kSamples; ++sy)
                for (int sx = 0; sx < kSamples; ++sx) {
                    const std::size_t at = static_cast<std::size_t>(y * kSamples + sy) *
                                               static_cast<std::size_t>(big) +
                                           static_cast<std::size_t>(x * kSamples + sx);
                    const std::uint32_t p = colour[at];
                    r += (p >> 16) & 0xFF;
                    gr += (p >> 8) & 0xFF;
                    b += p & 0xFF;
                    a += cover[at] & 0xFF;
                }
            const unsigned alpha = a / (kSamples * kSamples);
            std::uint32_t pixel = 0;
            if (alpha > 0)
                pixel = alpha << 24 | std::min(255u, r * 255 / a) << 16 |
                        std::min(255u, gr * 255 / a) << 8 | std::min(255u, b * 255 / a);
            out[static_cast<std::size_t>(y * size + x)] = pixel;
        }
    SelectObject(dc, old);
    HBITMAP mask = CreateBitmap(size, size, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, iconBitmap};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(iconBitmap);
    DeleteObject(colourBitmap);
    DeleteObject(coverBitmap);
    DeleteDC(dc);
    return icon;
}

void PaintStockPicture(HDC dc, const RECT& box) {
    Paint(dc, StockPicture(), box);
}

void PaintSplashPicture(HDC dc, const RECT& box) {
    Paint(dc, SplashPicture(), box);
}

} // namespace adultify::win32
