#include "ui/win32/gdi_images.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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

HPEN RoundPen(COLORREF colour, int width) {
    LOGBRUSH brush{BS_SOLID, colour, 0};
    // Solid, round ends and round joins are GDI's defaults (all 0).
    return ExtCreatePen(PS_GEOMETRIC | PS_SOLID, static_cast<DWORD>(width), &brush, 0, nullptr);
}

// A quadratic curve as the cubic GDI draws.
void QuadTo(HDC dc, const Grid& g, POINT from, double cx, double cy, double x, double y) {
    const double fx = (from.x - g.left) / g.unit, fy = (from.y - g.top) / g.unit;
    const POINT pts[3] = {g.P(fx + 2.0 / 3 * (cx - fx), fy + 2.0 / 3 * (cy - fy)),
                          g.P(x + 2.0 / 3 * (cx - x), y + 2.0 / 3 * (cy - y)), g.P(x, y)};
    PolyBezierTo(dc, pts, 3);
}

void DrawEyes(HDC dc, const Grid& g);
void DrawMouth(HDC dc, const Grid& g, int index);

// The face on a 32-unit grid; `mask` draws the head's outline filled white and nothing else.
void DrawFace(HDC dc, const Grid& g, int index, bool mask) {
    const COLORREF outline = mask ? RGB(255, 255, 255) : RGB(120, 80, 0);
    HPEN pen = CreatePen(PS_SOLID, g.W(1.2), outline);
    HBRUSH face = CreateSolidBrush(mask ? RGB(255, 255, 255) : RGB(250, 215, 40));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, face);
    Ellipse(dc, g.X(1.5), g.Y(1.5), g.X(30.5), g.Y(30.5));
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(pen);
    DeleteObject(face);
    if (mask) return;
    DrawEyes(dc, g);
    DrawMouth(dc, g, index);
}

// A lighter patch towards the top left, and the eyes.
void DrawEyes(HDC dc, const Grid& g) {
    // A lighter patch towards the top left, as light falling on it.
    HBRUSH light = CreateSolidBrush(RGB(255, 245, 130));
    HGDIOBJ none = SelectObject(dc, GetStockObject(NULL_PEN));
    HGDIOBJ oldBrush = SelectObject(dc, light);
    Ellipse(dc, g.X(5), g.Y(4), g.X(19), g.Y(16));
    SelectObject(dc, oldBrush);
    DeleteObject(light);

    HBRUSH eye = CreateSolidBrush(RGB(40, 30, 10));
    oldBrush = SelectObject(dc, eye);
    Ellipse(dc, g.X(9.5), g.Y(9), g.X(13), g.Y(14));
    Ellipse(dc, g.X(19), g.Y(9), g.X(22.5), g.Y(14));
    SelectObject(dc, oldBrush);
    SelectObject(dc, none);
    DeleteObject(eye);
}

void DrawMouth(HDC dc, const Grid& g, int index) {
    HPEN mouth = RoundPen(RGB(60, 30, 10), g.W(2.0));
    HGDIOBJ oldPen = SelectObject(dc, mouth);
    const auto filled = [&](COLORREF colour, auto&& path) {
        HBRUSH fill = CreateSolidBrush(colour);
        HGDIOBJ before = SelectObject(dc, fill);
        BeginPath(dc);
        path();
        CloseFigure(dc);
        EndPath(dc);
        StrokeAndFillPath(dc);
        SelectObject(dc, before);
        DeleteObject(fill);
    };
    switch (index) {
    case 0: // neutral
        MoveToEx(dc, g.X(10), g.Y(22), nullptr);
        LineTo(dc, g.X(22), g.Y(22));
        break;
    case 2: // grinning, open mouth
        filled(RGB(120, 20, 20), [&] {
            MoveToEx(dc, g.X(8.5), g.Y(18.5), nullptr);
            const POINT pts[3] = {g.P(11, 27.5), g.P(21, 27.5), g.P(23.5, 18.5)};
            PolyBezierTo(dc, pts, 3);
        });
        break;
    case 3: // frowning
        MoveToEx(dc, g.X(10), g.Y(25), nullptr);
        QuadTo(dc, g, g.P(10, 25), 16, 18, 22, 25);
        break;
    case 4: { // laughing, with a nose and open mouth
        HPEN nose = CreatePen(PS_SOLID, g.W(1.4), RGB(150, 90, 0));
        SelectObject(dc, nose);
        MoveToEx(dc, g.X(16), g.Y(13.5), nullptr);
        LineTo(dc, g.X(16), g.Y(17));
        SelectObject(dc, mouth);
        DeleteObject(nose);
        filled(RGB(150, 20, 20), [&] {
            MoveToEx(dc, g.X(8), g.Y(19.5), nullptr);
            LineTo(dc, g.X(24), g.Y(19.5));
            QuadTo(dc, g, g.P(24, 19.5), 16, 30.5, 8, 19.5);
        });
        break;
    }
    default: // smiling
        MoveToEx(dc, g.X(9.5), g.Y(19.5), nullptr);
        QuadTo(dc, g, g.P(9.5, 19.5), 16, 26.5, 22.5, 19.5);
    }
    SelectObject(dc, oldPen);
    DeleteObject(mouth);
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
    const Grid grid{big / 32.0, 0, 0};
    HGDIOBJ old = SelectObject(dc, colourBitmap);
    DrawFace(dc, grid, index, false);
    SelectObject(dc, coverBitmap);
    DrawFace(dc, grid, index, true);
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
    const Grid g{(box.right - box.left) / 25.0, box.left, box.top};
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HPEN red = CreatePen(PS_SOLID, g.W(3.0), RGB(220, 0, 0));
    HGDIOBJ oldPen = SelectObject(dc, red);
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, g.X(3.5), g.Y(3.5), g.X(21.5), g.Y(21.5));
    MoveToEx(dc, g.X(6.5), g.Y(18.5), nullptr);
    LineTo(dc, g.X(18.5), g.Y(6.5));
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(red);
}

void PaintSplashPicture(HDC dc, const RECT& box) {
    const Grid g{(box.right - box.left) / 320.0, box.left, box.top};
    // Sky: a vertical blend, one band per pixel row.
    const int height = box.bottom - box.top;
    for (int row = 0; row < height; ++row) {
        const double t = height > 1 ? static_cast<double>(row) / (height - 1) : 0;
        const auto mix = [t](int from, int to) {
            return static_cast<BYTE>(std::lround(from + (to - from) * t));
        };
        HBRUSH band = CreateSolidBrush(RGB(mix(20, 0), mix(60, 20), mix(170, 90)));
        const RECT line{box.left, box.top + row, box.right, box.top + row + 1};
        FillRect(dc, &line, band);
        DeleteObject(band);
    }

    // A green plumb-bob diamond above the title.
    const POINT bob[4] = {g.P(160, 56), g.P(174, 86), g.P(160, 116), g.P(146, 86)};
    HPEN edge = CreatePen(PS_SOLID, g.W(1.5), RGB(0, 90, 0));
    HBRUSH green = CreateSolidBrush(RGB(60, 220, 60));
    HGDIOBJ oldPen = SelectObject(dc, edge);
    HGDIOBJ oldBrush = SelectObject(dc, green);
    Polygon(dc, bob, 4);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    DeleteObject(edge);
    DeleteObject(green);

    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const auto text = [&](const wchar_t* face, double pixels, int weight, COLORREF colour,
                          double top, double bottom, const wchar_t* words) {
        HFONT font = CreateFontW(-g.W(pixels), 0, 0, 0, weight, FALSE, FALSE, FALSE,
                                 DEFAULT_CHARSET, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS,
                                 ANTIALIASED_QUALITY, DEFAULT_PITCH, face);
        HGDIOBJ oldFont = SelectObject(dc, font);
        SetTextColor(dc, colour);
        RECT area{g.X(0), g.Y(top), g.X(320), g.Y(bottom)};
        DrawTextW(dc, words, -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        SelectObject(dc, oldFont);
        DeleteObject(font);
    };
    text(L"Times New Roman", 44, FW_BOLD, RGB(255, 255, 255), 118, 174, L"The Sims");
    text(L"Tahoma", 24, FW_NORMAL, RGB(255, 220, 90), 168, 202, L"Adultify");
    SetBkMode(dc, oldMode);
}

} // namespace adultify::win32
