// Picture boxes: a bitmap, a picture of the program's own, or what the program draws.

#include "ui/win32/gdi_images.h"
#include "ui/win32/layer_control.h"

#include <algorithm>
#include <cmath>

namespace adultify::win32 {

namespace {

COLORREF Colour(const std::optional<Rgb>& c) {
    return c ? RGB(c->r, c->g, c->b) : GetSysColor(COLOR_WINDOWTEXT);
}

} // namespace

bool Win32WindowSystem::SetPictureBitmap(ControlId box, BitmapBytes bmpFile) {
    std::optional<BmpFile> bmp = ReadBmpFile(bmpFile);
    if (!bmp) return false;
    Control& c = At(box);
    c.bitmap = std::make_shared<const BmpFile>(std::move(*bmp));
    c.shows = Control::Shows::Bitmap;
    Invalidate(box);
    return true;
}

void Win32WindowSystem::SetPictureStock(ControlId box) {
    CopyPicture(kStockPictureHolder, box);
}

void Win32WindowSystem::CopyPicture(ControlId from, ControlId to) {
    const Control& source = At(from);
    Control& target = At(to);
    target.shows = source.shows;
    target.bitmap = source.bitmap;
    Invalidate(to);
}

void Win32WindowSystem::RemovePicture(ControlId box) {
    Control& c = At(box);
    c.shows = Control::Shows::Nothing;
    c.bitmap.reset();
    c.ops.clear();
    Invalidate(box);
}

void Win32WindowSystem::PictureClear(ControlId box) {
    At(box).ops.clear();
    Invalidate(box);
}

void Win32WindowSystem::SetLineWidth(ControlId box, int width) {
    At(box).lineWidth = width;
}

void Win32WindowSystem::FillRect(ControlId box, float x1, float y1, float x2, float y2, Rgb c) {
    Control& p = At(box);
    p.ops.push_back({DrawOp::Kind::Fill, x1, y1, x2, y2, 0, c, p.lineWidth});
    Invalidate(box);
}

void Win32WindowSystem::DrawLine(ControlId box, float x1, float y1, float x2, float y2, Rgb c) {
    Control& p = At(box);
    p.ops.push_back({DrawOp::Kind::Line, x1, y1, x2, y2, 0, c, p.lineWidth});
    Invalidate(box);
}

void Win32WindowSystem::DrawArc(ControlId box, float cx, float cy, float radius, float fromAngle,
                                float toAngle, std::optional<Rgb> c) {
    Control& p = At(box);
    p.ops.push_back({DrawOp::Kind::Arc, cx, cy, radius, fromAngle, toAngle, c, p.lineWidth});
    Invalidate(box);
}

float Win32WindowSystem::ScaleWidth(ControlId box) const {
    const ControlDesign& d = box.Design();
    return static_cast<float>(d.width - (d.border ? 4 : 0));
}

float Win32WindowSystem::ScaleHeight(ControlId box) const {
    const ControlDesign& d = box.Design();
    return static_cast<float>(d.height - (d.border ? 4 : 0));
}

namespace {

// The picture's own size at this scale, made smaller to fit `inner`, never larger.
RECT Fitted(const RECT& inner, double scale, int width, int height) {
    const int innerWidth = inner.right - inner.left, innerHeight = inner.bottom - inner.top;
    double w = width * scale, h = height * scale;
    if (w > innerWidth || h > innerHeight) {
        const double fit = std::min(innerWidth / w, innerHeight / h);
        w *= fit;
        h *= fit;
    }
    return RECT{inner.left, inner.top, inner.left + static_cast<int>(std::lround(w)),
                inner.top + static_cast<int>(std::lround(h))};
}

void PaintBitmap(HDC dc, const BmpFile& bmp, const RECT& to) {
    SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchDIBits(dc, to.left, to.top, to.right - to.left, to.bottom - to.top, 0, 0, bmp.width,
                  bmp.height, bmp.bytes.data() + bmp.bitsOffset,
                  reinterpret_cast<const BITMAPINFO*>(bmp.bytes.data() + bmp.infoOffset),
                  DIB_RGB_COLORS, SRCCOPY);
}

// The program's drawing operations, in the box's own pixels at 100 %, at this scale.
void Replay(HDC dc, const std::vector<DrawOp>& ops, const RECT& inner, double scale) {
    const auto X = [&](float v) { return inner.left + static_cast<int>(std::lround(v * scale)); };
    const auto Y = [&](float v) { return inner.top + static_cast<int>(std::lround(v * scale)); };
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, inner.left, inner.top, inner.right, inner.bottom);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (const DrawOp& op : ops) {
        const int width = std::max(1, static_cast<int>(std::lround(op.lineWidth * scale)));
        HPEN pen = CreatePen(PS_SOLID, width, Colour(op.colour));
        HGDIOBJ old = SelectObject(dc, pen);
        switch (op.kind) {
        case DrawOp::Kind::Fill: {
            HBRUSH brush = CreateSolidBrush(Colour(op.colour));
            const RECT r{X(std::min(op.a, op.c)), Y(std::min(op.b, op.d)), X(std::max(op.a, op.c)),
                         Y(std::max(op.b, op.d))};
            ::FillRect(dc, &r, brush);
            DeleteObject(brush);
            break;
        }
        case DrawOp::Kind::Line:
            MoveToEx(dc, X(op.a), Y(op.b), nullptr);
            LineTo(dc, X(op.c), Y(op.d));
            break;
        case DrawOp::Kind::Arc: {
            // Counter-clockwise on screen from d to e, as GDI draws by default; y points down.
            const float r = op.c;
            SetArcDirection(dc, AD_COUNTERCLOCKWISE);
            Arc(dc, X(op.a - r), Y(op.b - r), X(op.a + r), Y(op.b + r),
                X(op.a + r * std::cos(op.d)), Y(op.b - r * std::sin(op.d)),
                X(op.a + r * std::cos(op.e)), Y(op.b - r * std::sin(op.e)));
            break;
        }
        }
        SelectObject(dc, old);
        DeleteObject(pen);
    }
    RestoreDC(dc, saved);
}

} // namespace

HDC Win32WindowSystem::Buffer(HDC screen, int width, int height) {
    if (buffer_ && width <= bufferSize_.cx && height <= bufferSize_.cy) return buffer_;
    if (!buffer_) buffer_ = CreateCompatibleDC(screen);
    bufferSize_ = {std::max<LONG>(width, bufferSize_.cx), std::max<LONG>(height, bufferSize_.cy)};
    HBITMAP bitmap = CreateCompatibleBitmap(screen, bufferSize_.cx, bufferSize_.cy);
    HGDIOBJ old = SelectObject(buffer_, bitmap);
    if (bufferBitmap_)
        DeleteObject(bufferBitmap_);
    else
        bufferOld_ = old;
    bufferBitmap_ = bitmap;
    return buffer_;
}

// What a picture box shows, into `inner` (its client area, or where it lies under a label).
void Win32WindowSystem::PaintPicture(ControlId box, HDC dc, const RECT& inner) const {
    const Control& c = At(box);
    const double scale = Dpi(box.Form()) / static_cast<double>(USER_DEFAULT_SCREEN_DPI);
    if (!c.ops.empty()) ::FillRect(dc, &inner, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    switch (c.shows) {
    case Control::Shows::Nothing: break;
    case Control::Shows::Bitmap:
        PaintBitmap(dc, *c.bitmap, Fitted(inner, scale, c.bitmap->width, c.bitmap->height));
        break;
    case Control::Shows::Stock: PaintStockPicture(dc, Fitted(inner, scale, 25, 25)); break;
    case Control::Shows::Splash: PaintSplashPicture(dc, Fitted(inner, scale, 320, 240)); break;
    }
    if (!c.ops.empty()) Replay(dc, c.ops, inner, scale);
}

} // namespace adultify::win32
