#include "ui/headless/headless_window_system.h"
#include "text/path_text.h"

#include "text/ascii.h"
#include "ui/bitmap_size.h"
#include "ui/folder_listing.h"
#include "ui/shown_text.h"

#include <algorithm>
#include <system_error>

namespace adultify {

namespace {
const std::vector<DrawOp> kNoOps;
constexpr int kBorder = 2; // pixels a bordered box loses on each side
constexpr int kStockSize = 25;
} // namespace

HeadlessWindowSystem::HeadlessWindowSystem() {
    for (FormId form : AllForms())
        ResetForm(form);
    forms_[kMainForm.Control().Row()].loaded = true;
    forms_[kMainForm.Control().Row()].focus = FirstFocus(kMainForm);
}

void HeadlessWindowSystem::ResetForm(FormId form) {
    auto reset = [&](const ControlDesign& c, ControlId id) {
        Control fresh = AsLaidOut<Control>(c);
        const int inset = c.border ? 2 * kBorder : 0;
        fresh.innerWidth = static_cast<float>(c.width - inset);
        fresh.innerHeight = static_cast<float>(c.height - inset);
        if (c.image == Image::Stock)
            fresh.picture = {HeadlessPicture::Kind::Stock, kStockSize, kStockSize};
        fresh.history = std::move(At(id).history);
        At(id) = std::move(fresh);
    };
    reset(form.Design(), form.Control());
    for (const ControlDesign& c : form.Controls())
        reset(c, form.IdOf(c));
}

HeadlessWindowSystem::Control* HeadlessWindowSystem::Open(ControlId control) {
    return IsLoaded(control.Form()) ? &At(control) : nullptr;
}

void HeadlessWindowSystem::SetCaption(ControlId control, std::string_view text) {
    Control* c = Open(control);
    if (!c) return;
    c->caption = std::string(text);
    c->history.push_back(c->caption);
    FillListing(control, *c);
    if (onCaption) onCaption(control, text);
}

void HeadlessWindowSystem::FillListing(ControlId control, Control& c) {
    switch (control.Kind()) {
    case ControlKind::DirList: {
        const std::vector<FolderEntry> entries = ListFolders(c.caption);
        c.items.clear();
        c.names.clear();
        for (const FolderEntry& e : entries) {
            c.items.push_back(e.path);
            c.names.push_back(e.name);
        }
        c.selected = OpenFolderLine(entries);
        if (c.selected >= 0) c.caption = c.items[static_cast<std::size_t>(c.selected)];
        for (const ControlDesign& d : control.Form().Controls())
            if (d.kind == ControlKind::FolderBox) At(control.Form().IdOf(d)).caption = c.caption;
        break;
    }
    case ControlKind::DriveList: {
        const std::vector<DriveEntry> drives = ListDrives(DosDevices());
        c.items.clear();
        for (const DriveEntry& d : drives)
            c.items.push_back(d.root);
        c.selected = DriveHolding(drives, c.caption);
        c.caption = c.selected >= 0 ? c.items[static_cast<std::size_t>(c.selected)] : "";
        break;
    }
    case ControlKind::FileList:
        c.items = ListFiles(c.caption, control.Design().caption);
        c.selected = -1;
        break;
    default: break;
    }
}

void HeadlessWindowSystem::OpenFolderLineAt(ControlId list, int index) {
    SetCaption(list, At(list).items[static_cast<std::size_t>(index)]);
    (void)Send(list, UiEvent::Change);
}

void HeadlessWindowSystem::UserClick(ControlId list, int index) {
    Control* c = Open(list);
    if (!c || !c->enabled || index < 0 || index >= static_cast<int>(c->items.size())) return;
    if (list.Kind() == ControlKind::DirList) {
        c->selected = index;
        return;
    }
    const int before = c->selected;
    ListSelect(list, index);
    if (list.Kind() == ControlKind::DriveList)
        (void)Send(list, UiEvent::Change);
    else if (list.Reports(UiEvent::Click) && !Send(list, UiEvent::Click))
        ListSelect(list, before); // held back: the list shows again what the program holds
}

void HeadlessWindowSystem::UserDoubleClick(ControlId list, int index) {
    UserClick(list, index);
    if (list.Kind() == ControlKind::DirList && ListSelected(list, index))
        OpenFolderLineAt(list, index);
}

void HeadlessWindowSystem::UserPress(ControlId control, Key key) {
    Control* c = Open(control);
    if (c && c->enabled && control.Kind() == ControlKind::FolderBox && key == Key::Enter)
        return OpenTypedFolder(control);
    if (!c || !c->enabled || control.Kind() != ControlKind::DirList || c->items.empty()) return;
    const int last = static_cast<int>(c->items.size()) - 1;
    switch (key) {
    case Key::Up: c->selected = std::max(0, c->selected - 1); break;
    case Key::Down: c->selected = std::min(last, c->selected + 1); break;
    case Key::Enter:
        if (c->selected >= 0) OpenFolderLineAt(control, c->selected);
        break;
    default: break;
    }
}

void HeadlessWindowSystem::OpenTypedFolder(ControlId box) {
    const FormId form = box.Form();
    const std::string typed = At(box).caption;
    std::error_code ec;
    if (typed.empty() || !std::filesystem::is_directory(TextPath(typed), ec)) {
        Beep();
        return;
    }
    for (const ControlDesign& d : form.Controls())
        if (d.kind == ControlKind::DirList) {
            SetCaption(form.IdOf(d), typed);
            (void)Send(form.IdOf(d), UiEvent::Change);
        }
}

void HeadlessWindowSystem::UserType(ControlId control, std::string_view text) {
    Control* c = Open(control);
    if (!c || !c->enabled) return;
    if (control.Kind() == ControlKind::FolderBox) {
        c->caption = std::string(text);
        return;
    }
    if (control.Kind() != ControlKind::DirList) return;
    for (const char letter : text) {
        const int n = static_cast<int>(c->names.size());
        for (int step = 1; step <= n; ++step) {
            const auto line = static_cast<std::size_t>((c->selected + step) % n);
            if (!c->names[line].empty() && AsciiLower(c->names[line][0]) == AsciiLower(letter)) {
                c->selected = static_cast<int>(line);
                break;
            }
        }
    }
}

std::string HeadlessWindowSystem::Caption(ControlId control) const {
    return IsLoaded(control.Form()) ? At(control).caption : std::string();
}

void HeadlessWindowSystem::SetEnabled(ControlId control, bool enabled) {
    if (Control* c = Open(control)) c->enabled = enabled;
}

bool HeadlessWindowSystem::IsEnabled(ControlId control) const {
    return IsLoaded(control.Form()) && At(control).enabled;
}

void HeadlessWindowSystem::SetChecked(ControlId menuEntry, bool checked) {
    At(menuEntry).checked = checked;
}

bool HeadlessWindowSystem::IsChecked(ControlId menuEntry) const {
    return At(menuEntry).checked;
}

void HeadlessWindowSystem::SetMenuTip(ControlId menuEntry, std::string_view text) {
    At(menuEntry).tip = std::string(text);
}

const std::string& HeadlessWindowSystem::MenuTip(ControlId menuEntry) const {
    return At(menuEntry).tip;
}

void HeadlessWindowSystem::FocusControl(ControlId control) {
    if (IsLoaded(control.Form())) forms_[control.Form().Control().Row()].focus = control;
}

void HeadlessWindowSystem::ListClear(ControlId list) {
    Control& c = At(list);
    c.items.clear();
    c.marks.Clear();
    c.selected = -1;
}

void HeadlessWindowSystem::ListSetMark(ControlId list, int index, LineMark mark) {
    Control& c = At(list);
    c.marks.Set(index, static_cast<int>(c.items.size()), mark);
}

LineMark HeadlessWindowSystem::ListMark(ControlId list, int index) const {
    return At(list).marks.Of(index);
}

void HeadlessWindowSystem::ListAdd(ControlId list, std::string_view item) {
    At(list).items.emplace_back(item);
}

int HeadlessWindowSystem::ListCount(ControlId list) const {
    return static_cast<int>(At(list).items.size());
}

std::string HeadlessWindowSystem::ListItem(ControlId list, int index) const {
    const Control& c = At(list);
    if (index < 0 || index >= static_cast<int>(c.items.size())) return {};
    return c.items[static_cast<std::size_t>(index)];
}

bool HeadlessWindowSystem::ListSelected(ControlId list, int index) const {
    return index >= 0 && At(list).selected == index;
}

void HeadlessWindowSystem::ListSelect(ControlId list, int index) {
    Control& c = At(list);
    c.selected = (index >= 0 && index < static_cast<int>(c.items.size())) ? index : -1;
    if (list.Kind() == ControlKind::Combo || list.Kind() == ControlKind::DriveList)
        c.caption = c.selected >= 0 ? c.items[static_cast<std::size_t>(c.selected)] : "";
}

std::vector<std::string> HeadlessWindowSystem::ListItems(ControlId list) const {
    return At(list).items;
}

bool HeadlessWindowSystem::SetPictureBitmap(ControlId box, BitmapBytes bmpFile) {
    const auto size = ReadBitmapSize(bmpFile);
    if (!size) return false;
    At(box).picture = {HeadlessPicture::Kind::Bitmap, size->width, size->height};
    return true;
}

void HeadlessWindowSystem::SetPictureStock(ControlId box) {
    At(box).picture = {HeadlessPicture::Kind::Stock, kStockSize, kStockSize};
}

void HeadlessWindowSystem::CopyPicture(ControlId from, ControlId to) {
    At(to).picture = At(from).picture;
}

HeadlessPicture HeadlessWindowSystem::Picture(ControlId box) const {
    return At(box).picture;
}

void HeadlessWindowSystem::RemovePicture(ControlId box) {
    At(box).picture = {};
    PictureClear(box);
}

void HeadlessWindowSystem::PictureClear(ControlId box) {
    Control& c = At(box);
    c.drawOps.clear();
    c.drawOps.push_back({DrawOp::Kind::Clear, 0, 0, 0, 0, 0, std::nullopt, c.lineWidth});
}

void HeadlessWindowSystem::SetLineWidth(ControlId box, int width) {
    At(box).lineWidth = width;
}

void HeadlessWindowSystem::FillRect(ControlId box, float x1, float y1, float x2, float y2,
                                    Rgb colour) {
    Control& c = At(box);
    c.drawOps.push_back({DrawOp::Kind::Fill, x1, y1, x2, y2, 0, colour, c.lineWidth});
}

void HeadlessWindowSystem::DrawLine(ControlId box, float x1, float y1, float x2, float y2,
                                    Rgb colour) {
    Control& c = At(box);
    c.drawOps.push_back({DrawOp::Kind::Line, x1, y1, x2, y2, 0, colour, c.lineWidth});
}

void HeadlessWindowSystem::DrawArc(ControlId box, float cx, float cy, float radius, float fromAngle,
                                   float toAngle, std::optional<Rgb> colour) {
    Control& c = At(box);
    c.drawOps.push_back(
        {DrawOp::Kind::Arc, cx, cy, radius, fromAngle, toAngle, colour, c.lineWidth});
}

const std::vector<DrawOp>& HeadlessWindowSystem::DrawOps(ControlId box) const {
    return box.Kind() == ControlKind::Picture ? At(box).drawOps : kNoOps;
}

float HeadlessWindowSystem::ScaleWidth(ControlId box) const {
    return At(box).innerWidth;
}

float HeadlessWindowSystem::ScaleHeight(ControlId box) const {
    return At(box).innerHeight;
}

void HeadlessWindowSystem::SetScrollRange(ControlId bar, int min, int max, int smallChange,
                                          int largeChange) {
    At(bar).scroll.SetRange({min, max, smallChange, largeChange});
}

bool HeadlessWindowSystem::SetScrollValue(ControlId bar, int value) {
    return At(bar).scroll.SetValue(value);
}

int HeadlessWindowSystem::ScrollValue(ControlId bar) const {
    return At(bar).scroll.Value();
}

void HeadlessWindowSystem::SetFillStyle(ControlId shape, int style) {
    At(shape).fillStyle = style;
}

int HeadlessWindowSystem::FillStyle(ControlId shape) const {
    return At(shape).fillStyle;
}

void HeadlessWindowSystem::SetWindowIcon(int index) {
    icon_ = index;
    iconHistory_.push_back(index);
}

void HeadlessWindowSystem::LoadForm(FormId form) {
    Form& f = forms_[form.Control().Row()];
    if (f.loaded) return;
    ResetForm(form);
    f.loaded = true;
    // A drive list shows the machine's drives from the start, the first one chosen.
    for (const ControlDesign& d : form.Controls())
        if (d.kind == ControlKind::DriveList) {
            Control& c = At(form.IdOf(d));
            FillListing(form.IdOf(d), c);
            ListSelect(form.IdOf(d), 0);
        }
    f.focus = FirstFocus(form);
}

void HeadlessWindowSystem::ShowForm(FormId form) {
    LoadForm(form);
    Form& f = forms_[form.Control().Row()];
    if (!f.shown && form != kMainForm) {
        const LaidOut owner = Placement(kMainForm);
        f.place = {owner.x + (owner.width - form.Design().width) / 2,
                   owner.y + (owner.height - form.Design().height) / 2, form.Design().width,
                   form.Design().height};
    }
    f.shown = true;
}

LaidOut HeadlessWindowSystem::Placement(FormId form) const {
    const Form& f = forms_[form.Control().Row()];
    if (f.place.width > 0) return f.place;
    return {0, 0, form.Design().width, form.Design().height};
}

void HeadlessWindowSystem::MoveTo(FormId form, int x, int y) {
    LaidOut place = Placement(form);
    place.x = x;
    place.y = y;
    forms_[form.Control().Row()].place = place;
}

void HeadlessWindowSystem::UserResize(FormId form, int width, int height) {
    if (!form.Design().sizable) return;
    LaidOut place = Placement(form);
    place.width = std::max(width, form.Design().width);
    place.height = std::max(height, form.Design().height);
    forms_[form.Control().Row()].place = place;
}

LaidOut HeadlessWindowSystem::Placed(ControlId control) const {
    const LaidOut window = Placement(control.Form());
    return PlaceFollowing(control.Design(), window.width - control.Form().Design().width,
                          window.height - control.Form().Design().height);
}

std::optional<std::string> HeadlessWindowSystem::ChooseFolder(FormId owner,
                                                              std::string_view start) {
    return chooseFolder ? chooseFolder(owner, start) : std::nullopt;
}

void HeadlessWindowSystem::ShowModal(FormId form) {
    ShowForm(form);
    if (onModal) onModal(form);
    // A window the script left open is closed through its close box.
    if (IsLoaded(form)) UnloadForm(form);
}

void HeadlessWindowSystem::UnloadForm(FormId form) {
    if (form.Design().style == WindowStyle::Main) return; // only the end closes it
    forms_[form.Control().Row()] = Form{};
}

bool HeadlessWindowSystem::IsLoaded(FormId form) const {
    return forms_[form.Control().Row()].loaded;
}

bool HeadlessWindowSystem::IsShown(FormId form) const {
    return forms_[form.Control().Row()].shown;
}

MsgAnswer HeadlessWindowSystem::ShowMessageBox(std::string_view text, MsgButtons buttons,
                                               MsgIcon icon, std::string_view title) {
    // Unscripted, a box is closed without a button.
    const MsgAnswer closed = buttons == MsgButtons::Ok            ? MsgAnswer::Ok
                             : buttons == MsgButtons::YesNoCancel ? MsgAnswer::Cancel
                                                                  : MsgAnswer::No;
    MessageRecord record{std::string(text), buttons, icon, std::string(title), closed};
    if (answerMessage) record.answer = answerMessage(record);
    messages_.push_back(record);
    if (onMessage) onMessage(record);
    return record.answer;
}

void HeadlessWindowSystem::SetPointer(MousePointer pointer) {
    pointer_ = pointer;
    pointerHistory_.push_back(pointer);
}

void HeadlessWindowSystem::ShellOpen(FormId, std::string_view document) {
    shellOpened_.emplace_back(document);
}

void HeadlessWindowSystem::EndProgram(int exitCode) {
    MarkEnded(exitCode);
    for (Form& form : forms_)
        form = Form{};
}

int HeadlessWindowSystem::Run() {
    while (!Ended() && onEvents)
        ProcessEvents();
    return ExitCode();
}

void HeadlessWindowSystem::Report(ControlId control, UiEvent event) {
    if (control.Reports(event)) (void)Send(control, event);
}

void HeadlessWindowSystem::MoveFocus(FormId form, bool forward) {
    const std::vector<ControlId> order = TabOrder(form);
    if (order.empty()) return;
    std::optional<ControlId>& focus = forms_[form.Control().Row()].focus;
    const auto at = focus ? std::find(order.begin(), order.end(), *focus) : order.end();
    const std::size_t n = order.size();
    std::size_t i =
        at == order.end() ? (forward ? n - 1 : 0) : static_cast<std::size_t>(at - order.begin());
    for (std::size_t step = 0; step < n; ++step) {
        i = forward ? (i + 1) % n : (i + n - 1) % n;
        if (At(order[i]).enabled) {
            focus = order[i];
            return;
        }
    }
}

void HeadlessWindowSystem::PressKey(FormId form, Key key) {
    if (!IsLoaded(form)) return;
    if (form.Control().Reports(UiEvent::KeyPress)) return Report(form.Control(), UiEvent::KeyPress);
    const std::optional<ControlId> focus = Focused(form);
    const bool clickable =
        focus && (focus->Kind() == ControlKind::Button || focus->Kind() == ControlKind::Label);
    // A folder list keeps its own keys: Enter opens the folder rather than pressing a button;
    // so does a folder box.
    if (focus && focus->Kind() == ControlKind::DirList &&
        (key == Key::Up || key == Key::Down || key == Key::Enter))
        return UserPress(*focus, key);
    if (focus && focus->Kind() == ControlKind::FolderBox && key == Key::Enter)
        return UserPress(*focus, key);
    switch (key) {
    case Key::Tab:
    case Key::BackTab: return MoveFocus(form, key == Key::Tab);
    case Key::Escape:
        if (form.Design().style == WindowStyle::Dialog) Report(form.Control(), UiEvent::Close);
        return;
    case Key::Space:
        if (clickable) Report(*focus, UiEvent::Click);
        return;
    case Key::Enter:
        if (clickable)
            Report(*focus, UiEvent::Click);
        else if (const auto button = DefaultButton(form); button && At(*button).enabled)
            Report(*button, UiEvent::Click);
        return;
    default: break;
    }
    if (!focus || focus->Kind() != ControlKind::ScrollBar || !MovesAScrollBar(key)) return;
    ScrollState& bar = At(*focus).scroll;
    if (!bar.SetValue(ScrollAfterKey(key, bar.Value(), bar.Range()))) return;
    Report(*focus, UiEvent::Change);
}

std::optional<ControlId> HeadlessWindowSystem::Focused(FormId form) const {
    return IsLoaded(form) ? forms_[form.Control().Row()].focus : std::nullopt;
}

std::string HeadlessWindowSystem::TitleShown(FormId form) const {
    const std::string caption = Caption(form.Control());
    const std::optional<ControlId> marker = UnsavedMarker(form);
    return ShownText(marker && IsLoaded(form) && At(*marker).enabled ? MarkedTitle(caption)
                                                                     : caption);
}

std::string HeadlessWindowSystem::LineShown(ControlId list, int index) const {
    return ShownText(ListItem(list, index));
}

const std::vector<std::string>& HeadlessWindowSystem::CaptionHistory(ControlId control) const {
    return At(control).history;
}

} // namespace adultify
