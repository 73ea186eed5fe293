// What the windows draw themselves: frames, shapes, lines and labels over what lies beneath.

#include "ui/form_design.h"
#include "ui/win32/layer_control.h"

#include <algorithm>
#include <vector>

namespace adultify::win32 {

void Win32WindowSystem::SetFillStyle(ControlId shape, int style) {
    At(shape).fillStyle = style;
    Invalidate(shape);
}

int Win32WindowSystem::FillStyle(ControlId shape) const {
    return At(shape).fillStyle;
}

// Frames, shapes and lines have no windows of their own: the window draws them.
void Win32WindowSystem::PaintForm(FormId form, HDC dc) {
    const int dpi = Dpi(form);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    for (const ControlDesign& c : form.Controls()) {
        const ControlId id = form.IdOf(c);
        RECT r = Place(form, c);
        switch (c.kind) {
        case ControlKind::Frame: {
            HGDIOBJ oldFont = SelectObject(dc, Font(dpi, c.face));
            TEXTMETRICW tm{};
            GetTextMetricsW(dc, &tm);
            At(id).titleHeight = tm.tmHeight;
            RECT edge{r.left, r.top + tm.tmHeight / 2, r.right, r.bottom};
            DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
            const std::wstring text = WidenShown(At(id).caption);
            if (!text.empty()) {
                SIZE size{};
                GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
                const int inset = Scale(form, 8), gap = Scale(form, 2);
                // The title may run up to the frame's right border, as the Qt frames' do.
                const LONG end = r.right - 2 * gap;
                RECT behind{r.left + inset - gap, r.top, r.left + inset + size.cx + gap,
                            r.top + tm.tmHeight};
                // A caption longer than its frame ends in an ellipsis inside the frame.
                behind.right = std::min(behind.right, end + gap);
                ::FillRect(dc, &behind, GetSysColorBrush(COLOR_BTNFACE));
                SetTextColor(dc, GetSysColor(At(id).enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
                RECT line{r.left + inset, r.top, end, r.top + tm.tmHeight};
                DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &line,
                          DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
            }
            SelectObject(dc, oldFont);
            break;
        }
        case ControlKind::Shape: {
            HPEN pen = CreatePen(PS_INSIDEFRAME, std::max(1, Scale(form, 1)),
                                 GetSysColor(COLOR_WINDOWTEXT));
            HBRUSH brush = At(id).fillStyle == 0 ? GetSysColorBrush(COLOR_WINDOWTEXT)
                                                 : static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
            HGDIOBJ oldPen = SelectObject(dc, pen);
            HGDIOBJ oldBrush = SelectObject(dc, brush);
            Rectangle(dc, r.left, r.top, r.right, r.bottom);
            SelectObject(dc, oldPen);
            SelectObject(dc, oldBrush);
            DeleteObject(pen);
            break;
        }
        case ControlKind::Line:
            r.bottom = r.top + 2;
            DrawEdge(dc, &r, EDGE_ETCHED, BF_TOP);
            break;
        default: break;
        }
    }
    SetBkMode(dc, oldMode);
    PaintLabels(form, dc);
}

namespace {

// Wine's Tahoma draws small glyphs narrower than GDI measures them, and an underlined font's
// line, drawn as measured, then runs past the text: each glyph is put where it measures, so
// that text and line end together. One line, aligned and centred in `r` as DrawText would.
void DrawAsMeasured(HDC dc, const std::wstring& text, const RECT& r, UINT format) {
    const auto n = static_cast<int>(text.size());
    std::vector<int> ends(text.size()), steps(text.size());
    SIZE size{};
    GetTextExtentExPointW(dc, text.c_str(), n, 0, nullptr, ends.data(), &size);
    for (std::size_t i = 0; i < ends.size(); ++i)
        steps[i] = ends[i] - (i > 0 ? ends[i - 1] : 0);
    const LONG spare = r.right - r.left - size.cx;
    const LONG x = r.left + ((format & DT_RIGHT) != 0    ? spare
                             : (format & DT_CENTER) != 0 ? spare / 2
                                                         : 0);
    const LONG y = r.top + (r.bottom - r.top - size.cy) / 2;
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &r, text.c_str(), static_cast<UINT>(n), steps.data());
}

} // namespace

// What lies under a label, which has no background of its own: the window's own drawings (a
// frame's border it reaches onto) and the pictures it stands on.
void Win32WindowSystem::PaintBackdrop(FormId form, ControlId over, HDC dc) {
    RECT label{};
    GetClientRect(At(over).hwnd, &label);
    MapWindowPoints(At(over).hwnd, Window(form), reinterpret_cast<POINT*>(&label), 2);
    POINT origin{};
    SetViewportOrgEx(dc, -label.left, -label.top, &origin);
    PaintForm(form, dc);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    for (const ControlDesign& c : form.Controls()) {
        HWND picture = At(form.IdOf(c)).hwnd;
        if (c.kind != ControlKind::Picture || !picture) continue;
        RECT inner{};
        GetClientRect(picture, &inner);
        MapWindowPoints(picture, Window(form), reinterpret_cast<POINT*>(&inner), 2);
        RECT common{};
        if (!IntersectRect(&common, &inner, &label)) continue;
        OffsetRect(&inner, -label.left, -label.top);
        PaintPicture(form.IdOf(c), dc, inner);
    }
}

void Win32WindowSystem::PaintLabel(const DRAWITEMSTRUCT& item) {
    const std::optional<ControlId> id = ControlOfId(static_cast<int>(item.CtlID));
    if (!id || !Open(*id)) return;
    const FormId form = id->Form();
    HDC dc = item.hDC;
    const RECT& r = item.rcItem;
    ::FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    // A static control draws with its window's clipping (CS_PARENTDC): what lies beneath it
    // is kept to its own rectangle.
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
    PaintBackdrop(form, *id, dc);
    RestoreDC(dc, saved);
    DrawLabel(*id, dc, r, id->Design().tabStop && focusedLabel_ == item.hwndItem);
}

// The labels the window draws, over its frames, in what it repaints of them.
void Win32WindowSystem::PaintLabels(FormId form, HDC dc) {
    RECT shown{};
    if (GetClipBox(dc, &shown) == NULLREGION) return;
    for (const ControlDesign& d : form.Controls()) {
        const ControlId id = form.IdOf(d);
        Control& c = At(id);
        if (d.kind != ControlKind::Label || !c.drawnByForm) continue;
        const RECT place = Place(form, d);
        if (!RectVisible(dc, &place)) continue;
        RECT client = place;
        if (d.border) DrawEdge(dc, &client, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST); // a static edge
        DrawLabel(id, dc, client, d.tabStop && focusedLabel_ == c.hwnd);
        // Drawn in part, it is drawn whole when its text next changes.
        RECT both{};
        UnionRect(&both, &shown, &place);
        if (!EqualRect(&both, &shown)) c.painted.reset();
    }
}

// The label's text in its client rectangle, on what lies beneath.
void Win32WindowSystem::DrawLabel(ControlId label, HDC dc, const RECT& client, bool focused) {
    const FormId form = label.Form();
    const ControlDesign& d = label.Design();
    Control& c = At(label);
    c.painted = c.caption;
    RECT r = client;
    const int dpi = Dpi(form);
    const std::wstring text = WidenShown(c.caption);
    InflateRect(&r, -Scale(form, d.border ? 2 : 0), 0);
    // A narrow caption is condensed only when the plain face does not fit its column.
    HGDIOBJ oldFont = SelectObject(dc, Font(dpi, d.face == Face::Narrow ? Face::Dialog : d.face));
    SIZE plain{};
    GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &plain);
    if (d.face == Face::Narrow && plain.cx > r.right - r.left)
        SelectObject(dc, Font(dpi, Face::Narrow));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF ink = GetSysColor(COLOR_BTNTEXT);
    if (d.face == Face::Link) ink = RGB(0, 0, 192);
    if (d.ink == Ink::White) ink = RGB(255, 255, 255);
    if (!c.enabled) ink = GetSysColor(COLOR_GRAYTEXT);
    const COLORREF oldInk = SetTextColor(dc, ink);
    UINT format = DT_NOPREFIX;
    format |= d.align == Align::Right ? DT_RIGHT : d.align == Align::Centre ? DT_CENTER : DT_LEFT;
    // One line, centred in its height; a long one ends in an ellipsis rather than being cut.
    format |= d.wrap ? DT_WORDBREAK : DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS;
    if (d.face == Face::Link && !d.wrap)
        DrawAsMeasured(dc, text, r, format);
    else
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, format);
    if (focused) {
        RECT mark = r;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &mark, format | DT_CALCRECT);
        // Where the text stands: DT_CALCRECT measures from the top left corner.
        const LONG spare = r.right - mark.right;
        const LONG dx = d.align == Align::Right ? spare : d.align == Align::Centre ? spare / 2 : 0;
        OffsetRect(&mark, dx, d.wrap ? 0 : (r.bottom - mark.bottom) / 2);
        IntersectRect(&mark, &mark, &client);
        DrawFocusRect(dc, &mark);
    }
    SetTextColor(dc, oldInk);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
}

} // namespace adultify::win32
