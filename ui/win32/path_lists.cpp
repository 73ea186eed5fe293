// The path dialog's folder, file and drive lists, and the folder box that goes with them.

#include "text/path_text.h"
#include "ui/folder_listing.h"
#include "ui/win32/layer_control.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace adultify::win32 {

namespace {

// All lines at once and one repaint: a list box redrawn per line shows itself filling.
void ReplaceLines(HWND list, const std::vector<std::wstring>& lines, UINT reset, UINT add) {
    SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list, reset, 0, 0);
    for (const std::wstring& line : lines)
        SendMessageW(list, add, 0, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
}

} // namespace

// As the old folder list: the open folder's ancestors, the folder, its subfolders.
void Win32WindowSystem::FillDirList(ControlId id, std::string_view text) {
    Control& c = At(id);
    const std::vector<FolderEntry> entries = ListFolders(text);
    std::vector<std::wstring> lines;
    c.items.clear();
    c.paths.clear();
    c.depths.clear();
    c.opens.clear();
    for (const FolderEntry& e : entries) {
        lines.push_back(Widen(e.name)); // indented by drawing: typed letters find the name
        c.items.push_back(e.path);
        c.paths.push_back(Widen(e.path));
        c.depths.push_back(e.depth);
        c.opens.push_back(e.open);
    }
    const int open = OpenFolderLine(entries);
    if (open >= 0) c.caption = entries[static_cast<std::size_t>(open)].path;
    c.tipLine = -1;
    ShowOpenFolder(id.Form());
    if (!c.hwnd) return;
    ReplaceLines(c.hwnd, lines, LB_RESETCONTENT, LB_ADDSTRING);
    // A deep folder's line scrolls sideways rather than being cut off.
    c.widest = WidestLine(c.hwnd, lines, 0,
                          [&](std::size_t i) { return LineLead(id, static_cast<int>(i)); }) +
               Scale(id.Form(), 3);
    ShowExtent(c);
    SendMessageW(c.hwnd, LB_SETCURSEL, static_cast<WPARAM>(open), 0);
}

void Win32WindowSystem::FillFileList(ControlId id, std::string_view folder) {
    Control& c = At(id);
    c.items = ListFiles(folder, id.Design().caption.empty() ? "*.*" : id.Design().caption);
    if (!c.hwnd) return;
    std::vector<std::wstring> lines;
    for (const std::string& name : c.items)
        lines.push_back(Widen(name));
    ReplaceLines(c.hwnd, lines, LB_RESETCONTENT, LB_ADDSTRING);
}

// The machine's drives and the Wine prefix's drive letters; the working folder's drive chosen.
void Win32WindowSystem::FillDriveList(ControlId id) {
    Control& c = At(id);
    std::vector<std::wstring> names;
    c.items.clear();
    c.paths.clear();
    for (const DriveEntry& drive : ListDrives(DosDevices())) {
        names.push_back(Widen(drive.name));
        c.items.push_back(drive.root);
        c.paths.push_back(Widen(drive.root));
    }
    ReplaceLines(c.hwnd, names, CB_RESETCONTENT, CB_ADDSTRING);
    std::error_code ec;
    const std::filesystem::path current = std::filesystem::current_path(ec);
    const std::u8string working = current.u8string();
    ChooseDriveOf(id, ec ? std::string_view{} : std::string(working.begin(), working.end()));
}

void Win32WindowSystem::ChooseDriveOf(ControlId id, std::string_view folder) {
    Control& c = At(id);
    std::vector<DriveEntry> drives;
    for (std::size_t i = 0; i < c.items.size(); ++i)
        drives.push_back({c.items[i], c.items[i]});
    c.chosen = folder.empty() ? -1 : DriveHolding(drives, folder);
    c.caption = c.chosen >= 0 ? c.items[static_cast<std::size_t>(c.chosen)] : std::string();
    if (c.hwnd) SendMessageW(c.hwnd, CB_SETCURSEL, static_cast<WPARAM>(c.chosen), 0);
}

// How far in from the list's left edge a line's text starts.
int Win32WindowSystem::LineLead(ControlId list, int line) const {
    const FormId form = list.Form();
    const Control& c = At(list);
    if (list.Kind() != ControlKind::DirList || line < 0 ||
        line >= static_cast<int>(c.depths.size()))
        return Scale(form, 2);
    return Scale(form, 2 + c.depths[static_cast<std::size_t>(line)] * kIndent + kIconSize + 4);
}

// Measured once per DPI: a refilled list asks for each child's line, and each device context
// is a call to the Wine server.
int Win32WindowSystem::MarkWidth(ControlId list, LineMark mark) {
    if (mark == LineMark::None) return 0;
    const FormId form = list.Form();
    const int dpi = Dpi(form);
    int& width = markWidths_[dpi];
    if (width > 0) return width;
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font(dpi, Face::Narrow));
    SIZE text{};
    GetTextExtentPoint32W(dc, L"child", 5, &text);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    width = Scale(form, kMarkGap) + text.cx + Scale(form, 8);
    return width;
}

int Win32WindowSystem::LineHeight(ControlId list) {
    const FormId form = list.Form();
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, Font(Dpi(form), Face::Dialog));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    const int icon = list.Kind() == ControlKind::DirList ? Scale(form, kIconSize) : 0;
    return std::max<int>(tm.tmHeight, icon) + Scale(form, 2);
}

// The shell's own folder icon, at the size asked for.
HICON Win32WindowSystem::FolderIcon(bool open, int size) {
    HICON& icon = folderIcons_[{open, size}];
    if (icon) return icon;
    SHSTOCKICONINFO info{};
    info.cbSize = sizeof(info);
    if (SUCCEEDED(
            SHGetStockIconInfo(open ? SIID_FOLDEROPEN : SIID_FOLDER, SHGSI_ICONLOCATION, &info)))
        (void)SHDefExtractIconW(info.szPath, info.iIcon, 0, &icon, nullptr,
                                static_cast<UINT>(MAKELONG(size, size)));
    if (!icon && SUCCEEDED(SHGetStockIconInfo(open ? SIID_FOLDEROPEN : SIID_FOLDER,
                                              SHGSI_ICON | SHGSI_SMALLICON, &info)))
        icon = info.hIcon;
    return icon;
}

// A line's "child" tag, after its text.
void Win32WindowSystem::PaintMark(FormId form, HDC dc, const RECT& tag, bool selected) {
    const COLORREF ink = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : RGB(0, 96, 160);
    HPEN pen = CreatePen(PS_SOLID, std::max(1, Scale(form, 1)), ink);
    HBRUSH fill = CreateSolidBrush(RGB(224, 240, 255));
    HGDIOBJ oldPen = SelectObject(dc, pen);
    HGDIOBJ oldBrush = SelectObject(dc, selected ? GetStockObject(NULL_BRUSH) : fill);
    const int round = (tag.bottom - tag.top) * 4 / 5;
    RoundRect(dc, tag.left, tag.top, tag.right, tag.bottom, round, round);
    SelectObject(dc, oldBrush);
    SelectObject(dc, oldPen);
    DeleteObject(fill);
    DeleteObject(pen);
    HGDIOBJ oldFont = SelectObject(dc, Font(Dpi(form), Face::Narrow));
    SetTextColor(dc, ink);
    RECT inside = tag;
    DrawTextW(dc, L"child", 5, &inside, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

void Win32WindowSystem::PaintListLine(const DRAWITEMSTRUCT& item) {
    const std::optional<ControlId> id = ControlOfId(static_cast<int>(item.CtlID));
    if (!id || !Open(*id)) return;
    HDC dc = item.hDC;
    RECT r = item.rcItem;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    ::FillRect(dc, &r, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    if (item.itemID == static_cast<UINT>(-1)) {
        if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
        return;
    }
    const FormId form = id->Form();
    const Control& c = At(*id);
    const auto line = static_cast<int>(item.itemID);
    const auto at = static_cast<std::size_t>(line);
    int x = r.left + LineLead(*id, line);
    if (id->Kind() == ControlKind::DirList && at < c.depths.size()) {
        const int size = Scale(form, kIconSize);
        if (HICON icon = FolderIcon(c.opens[at], size))
            DrawIconEx(dc, x - size - Scale(form, 4), r.top + (r.bottom - r.top - size) / 2, icon,
                       size, size, 0, nullptr, DI_NORMAL);
    }
    const auto length =
        static_cast<int>(SendMessageW(item.hwndItem, LB_GETTEXTLEN, item.itemID, 0));
    std::wstring text(static_cast<std::size_t>(std::max(length, 0)) + 1, L'\0');
    SendMessageW(item.hwndItem, LB_GETTEXT, item.itemID, reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(std::max(length, 0)));
    const bool enabled = IsWindowEnabled(item.hwndItem) != FALSE;
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected  ? COLOR_HIGHLIGHTTEXT
                                 : enabled ? COLOR_WINDOWTEXT
                                           : COLOR_GRAYTEXT));
    HGDIOBJ oldFont = SelectObject(dc, Font(Dpi(form), Face::Dialog));
    RECT textRect{x, r.top, r.right, r.bottom};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect,
              DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    const LineMark mark = c.marks.Of(at);
    if (mark != LineMark::None) {
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        const int left = x + size.cx + Scale(form, kMarkGap);
        const int inset = Scale(form, 2);
        const RECT tag{left, r.top + inset, left + MarkWidth(*id, mark) - Scale(form, kMarkGap),
                       r.bottom - inset};
        PaintMark(form, dc, tag, selected);
    }
    SelectObject(dc, oldFont);
    if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &r);
}

void Win32WindowSystem::ShowOpenFolder(FormId form) {
    std::string open;
    for (const ControlDesign& d : form.Controls())
        if (d.kind == ControlKind::DirList) open = At(form.IdOf(d)).caption;
    for (const ControlDesign& d : form.Controls())
        if (d.kind == ControlKind::FolderBox) {
            Control& box = At(form.IdOf(d));
            box.caption = open;
            if (box.hwnd) SetWindowTextW(box.hwnd, Widen(open).c_str());
        }
}

void Win32WindowSystem::OpenTypedFolder(ControlId box) {
    const std::string typed = Caption(box);
    std::error_code ec;
    if (typed.empty() || !std::filesystem::is_directory(TextPath(typed), ec)) {
        Beep();
        return;
    }
    const FormId form = box.Form();
    for (const ControlDesign& d : form.Controls())
        if (d.kind == ControlKind::DirList) {
            SetCaption(form.IdOf(d), typed);
            Send(form.IdOf(d), UiEvent::Change);
        }
}

// The tooltip tells the whole path of the line under the pointer.
void Win32WindowSystem::ShowFolderTip(ControlId id, int line) {
    Control& c = At(id);
    if (!c.tip || line == c.tipLine) return;
    c.tipLine = line;
    const std::wstring text = line >= 0 && line < static_cast<int>(c.paths.size())
                                  ? c.paths[static_cast<std::size_t>(line)]
                                  : std::wstring();
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = GetParent(c.hwnd);
    tool.uId = reinterpret_cast<UINT_PTR>(c.hwnd);
    tool.lpszText = const_cast<wchar_t*>(text.c_str());
    SendMessageW(c.tip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(c.tip, TTM_ACTIVATE, !text.empty(), 0);
}

} // namespace adultify::win32
