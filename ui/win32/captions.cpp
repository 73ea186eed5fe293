// Captions, enabled and checked states, and the menu entries' tips.

#include "ui/win32/layer_control.h"

#include <commctrl.h>

#include <algorithm>
#include <utility>
#include <vector>

namespace adultify::win32 {

void Win32WindowSystem::SetCaption(ControlId control, std::string_view text) {
    // A closed window's label (the splash's, after start-up) takes no text.
    Control* c = Open(control);
    if (!c) return;
    c->caption = std::string(text);
    switch (control.Kind()) {
    case ControlKind::Window: RefreshTitle(control.Form()); break;
    case ControlKind::Menu:
        if (const ControlDesign& d = control.Design(); !d.parent.empty())
            RebuildMenu(*ControlId::Find(d.parent));
        else
            RebuildMenu(control.Form().Control());
        break;
    case ControlKind::Button: SetWindowTextW(c->hwnd, WidenShown(text).c_str()); break;
    case ControlKind::DirList: FillDirList(control, text); break;
    case ControlKind::FileList: FillFileList(control, text); break;
    case ControlKind::DriveList: ChooseDriveOf(control, text); break;
    case ControlKind::FolderBox: SetWindowTextW(c->hwnd, Widen(text).c_str()); break;
    case ControlKind::Label:
        if (!c->textDue && c->hwnd) captions_.push_back(control);
        c->textDue = c->hwnd != nullptr;
        break;
    case ControlKind::Frame: {
        // Only its title line changes (the resident's name, at each click on one).
        HWND window = Window(control.Form());
        if (c->titleHeight == 0 || !window) {
            Invalidate(control);
            break;
        }
        RECT title = Place(control.Form(), control.Design());
        title.bottom = std::min<LONG>(title.bottom, title.top + c->titleHeight);
        InvalidateRect(window, &title, TRUE);
        break;
    }
    default: break;
    }
}

// A label is drawn from its caption. Its window takes the text when events next run, once however
// often it changed since, and is redrawn only when the text differs from the one it drew: a
// status line written per line of a long loop costs nothing. The text goes past the static
// control, which would paint at once on every change.
void Win32WindowSystem::ShowCaptions() {
    std::vector<ControlId> due;
    due.swap(captions_);
    // The labels a window draws are repainted in one region: one call to the Wine server.
    std::vector<std::pair<FormId, HRGN>> regions;
    for (ControlId label : due) {
        Control* c = Open(label);
        if (!c || !c->textDue) continue;
        c->textDue = false;
        if (!c->hwnd) continue;
        if (c->caption != c->given) {
            c->given = c->caption;
            DefWindowProcW(c->hwnd, WM_SETTEXT, 0,
                           reinterpret_cast<LPARAM>(WidenShown(c->caption).c_str()));
        }
        if (c->caption == c->painted) continue;
        if (!c->drawnByForm) {
            Invalidate(label);
            continue;
        }
        const FormId form = label.Form();
        auto region = std::find_if(regions.begin(), regions.end(),
                                   [&](const auto& r) { return r.first == form; });
        if (region == regions.end())
            region = regions.insert(regions.end(), {form, CreateRectRgn(0, 0, 0, 0)});
        const RECT r = Place(form, label.Design());
        HRGN one = CreateRectRgnIndirect(&r);
        CombineRgn(region->second, region->second, one, RGN_OR);
        DeleteObject(one);
    }
    for (const auto& [form, region] : regions) {
        RedrawWindow(Window(form), nullptr, region, RDW_INVALIDATE | RDW_ERASE);
        DeleteObject(region);
    }
}

std::string Win32WindowSystem::Caption(ControlId control) const {
    const Control* c = Open(control);
    if (!c) return {};
    if (control.Kind() == ControlKind::Combo)
        return c->chosen >= 0 && c->chosen < static_cast<int>(c->items.size())
                   ? c->items[static_cast<std::size_t>(c->chosen)]
                   : std::string();
    if (control.Kind() == ControlKind::FolderBox && c->hwnd) {
        std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(c->hwnd)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            GetWindowTextW(c->hwnd, text.data(), static_cast<int>(text.size()))));
        return Narrow(text);
    }
    return c->caption;
}

void Win32WindowSystem::SetEnabled(ControlId control, bool enabled) {
    Control* c = Open(control);
    // Unchanged, nothing is redrawn: the menu bar and the title would be rebuilt on every click.
    if (!c || (c->enabled == enabled && !control.IsWindow())) return;
    c->enabled = enabled;
    if (c->hwnd) EnableWindow(c->hwnd, enabled);
    if (control.Kind() == ControlKind::Menu) {
        const ControlDesign& d = control.Design();
        RebuildMenu(d.parent.empty() ? control.Form().Control() : *ControlId::Find(d.parent));
        if (control == UnsavedMarker(control.Form())) RefreshTitle(control.Form());
    }
    if (IsPainted(control.Kind()) || c->drawnByForm) Invalidate(control); // its grey text
}

bool Win32WindowSystem::IsEnabled(ControlId control) const {
    const Control* c = Open(control);
    return c && c->enabled;
}

void Win32WindowSystem::SetChecked(ControlId menuEntry, bool checked) {
    Control& c = At(menuEntry);
    c.checked = checked;
    const ControlDesign& d = menuEntry.Design();
    if (menuEntry.Kind() == ControlKind::Menu && !d.parent.empty())
        RebuildMenu(*ControlId::Find(d.parent));
}

bool Win32WindowSystem::IsChecked(ControlId menuEntry) const {
    return At(menuEntry).checked;
}

void Win32WindowSystem::SetMenuTip(ControlId menuEntry, std::string_view text) {
    At(menuEntry).menuTip = WidenShown(text);
}

// Menus have no tooltips of their own: an entry's tip is a tooltip put beside the entry while
// it is highlighted (WM_MENUSELECT), and taken away with the highlight or the menu.
void Win32WindowSystem::ShowMenuTip(HWND window, HMENU menu, UINT item, UINT flags) {
    if (!menuTip_ || !IsWindow(menuTip_)) {
        menuTip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                   WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, 0, 0, 0, 0, window,
                                   nullptr, GetModuleHandleW(nullptr), nullptr);
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof(tool);
        tool.uFlags = TTF_TRACK | TTF_ABSOLUTE;
        tool.hwnd = window;
        tool.lpszText = const_cast<wchar_t*>(L"");
        SendMessageW(menuTip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        SendMessageW(menuTip_, TTM_SETMAXTIPWIDTH, 0, 32767);
    }
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.hwnd = window;
    const std::optional<ControlId> id =
        menu && (flags & MF_POPUP) == 0 ? ControlOfId(static_cast<int>(item)) : std::nullopt;
    const std::wstring* tip = id ? &At(*id).menuTip : nullptr;
    int position = -1;
    for (int i = 0; tip && !tip->empty() && i < GetMenuItemCount(menu) && position < 0; ++i)
        if (GetMenuItemID(menu, i) == item) position = i;
    RECT entry{};
    if (position < 0 || !GetMenuItemRect(window, menu, static_cast<UINT>(position), &entry)) {
        SendMessageW(menuTip_, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
        return;
    }
    tool.lpszText = const_cast<wchar_t*>(tip->c_str());
    SendMessageW(menuTip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    SendMessageW(menuTip_, TTM_TRACKPOSITION, 0, MAKELPARAM(entry.right, entry.top));
    SendMessageW(menuTip_, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
}

} // namespace adultify::win32
