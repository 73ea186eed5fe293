#pragma once
// What the Win32 window layer keeps of each control, and the command ids its windows give
// them: shared by the layer's files, never by its users.

#include "ui/control_id.h"
#include "ui/line_marks.h"
#include "ui/scroll_state.h"
#include "ui/win32/bmp_file.h"
#include "ui/win32/from_integer.h"
#include "ui/win32/wide_text.h"
#include "ui/win32/win32_window_system.h"

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace adultify::win32 {

constexpr wchar_t kFormClass[] = L"AdultifyForm";
constexpr wchar_t kPictureClass[] = L"AdultifyPicture";
constexpr int kFirstId = 1000; // child and menu command ids: the table row after this
constexpr UINT_PTR kFolderListSubclass = 0xAD03;
constexpr int kDropHeight = 160; // a drop-down's open list, at 100 %
constexpr int kIndent = 12;      // a folder list's indent per level, at 100 %
constexpr int kIconSize = 16;    // its folder icons, at 100 %
constexpr int kMarkGap = 6;      // between a line's text and its mark, at 100 %

inline int IdOf(ControlId id) {
    return kFirstId + static_cast<int>(id.Row());
}
inline std::optional<ControlId> ControlOfId(int id) {
    if (id < kFirstId || static_cast<std::size_t>(id - kFirstId) >= kControlCount)
        return std::nullopt;
    return ControlId::AtRow(static_cast<std::size_t>(id - kFirstId));
}

// Frames, shapes and lines have no windows of their own: the window draws them.
inline bool IsPainted(ControlKind kind) {
    return kind == ControlKind::Frame || kind == ControlKind::Shape || kind == ControlKind::Line;
}

// The window classes of the layer's windows and picture boxes, registered once.
void RegisterClasses(HINSTANCE instance, WNDPROC formProc, WNDPROC pictureProc);

struct Win32WindowSystem::Control {
    HWND hwnd = nullptr;
    std::string caption;
    bool enabled = true;
    bool checked = false;
    int chosen = -1;                 // the list line or drop-down entry the program last saw
    std::vector<std::string> items;  // list lines and drop-down entries, as the program gave them
    std::vector<std::wstring> paths; // folder and drive lists: the path of each line
    HWND tip = nullptr;              // a folder list's tooltip: the whole path of the line
    std::wstring menuTip;            // a menu entry's longer text
    int tipLine = -1;                // the line the tooltip tells of
    int widest = 0;                  // a list's widest line, for its sideways scrolling
    int extent = 0;                  // the sideways extent the list box was last given
    LineMarks marks;                 // a list's line marks
    std::vector<int> depths;         // a folder list's indent of each line
    std::vector<bool> opens;         // a folder list's lines on the way to the open folder
    int wider = 0, taller = 0;       // a sizable window: how much larger than laid out, at 100 %
    std::size_t measured = 0;        // a list's lines measured for that
    bool filling = false;            // a list refilled without repainting, until FinishFills
    bool textDue = false;            // a label's caption not yet given to its window
    // A label its window draws: its own window, kept for the focus, the tab order and the
    // tools that read text, shows nothing (an empty window region).
    bool drawnByForm = false;
    std::string given;                  // a label's text its window has
    std::optional<std::string> painted; // the text drawn whole; none: drawn in part
    enum class Shows { Nothing, Bitmap, Stock, Splash } shows = Shows::Nothing;
    std::shared_ptr<const BmpFile> bitmap;
    std::vector<DrawOp> ops;
    int lineWidth = 1;
    int fillStyle = 1;
    int titleHeight = 0; // a frame's title line as last drawn; 0: not drawn yet
    ScrollState scroll;
};

inline std::wstring AsWide(const std::string& text) {
    return WidenShown(text);
}
inline const std::wstring& AsWide(const std::wstring& text) {
    return text;
}

// How wide a list box needs to be for its widest line, in its own font, with what `beside(i)`
// adds to line i (its indent, its mark): one device context for all of them.
template <typename Lines, typename Beside>
int WidestLine(HWND list, const Lines& lines, std::size_t from, Beside beside) {
    HDC dc = GetDC(list);
    HGDIOBJ old = SelectObject(dc, Pointer<HFONT>(SendMessageW(list, WM_GETFONT, 0, 0)));
    int widest = 0;
    for (std::size_t i = from; i < lines.size(); ++i) {
        const std::wstring& line = AsWide(lines[i]);
        SIZE size{};
        GetTextExtentPoint32W(dc, line.c_str(), static_cast<int>(line.size()), &size);
        widest = std::max(widest, static_cast<int>(size.cx) + beside(i));
    }
    SelectObject(dc, old);
    ReleaseDC(list, dc);
    return widest;
}

} // namespace adultify::win32
