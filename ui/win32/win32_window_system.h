#pragma once
// The window layer on plain Win32 (user32, gdi32, comctl32): every window is built from the
// layout table, scaled to the DPI of the monitor it is on.

#include "ui/form_design.h"
#include "ui/window_system.h"

#include <windows.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace adultify::win32 {

// One drawing operation in a picture box's own pixels at 100 %, replayed at paint time.
struct DrawOp {
    enum class Kind { Fill, Line, Arc } kind;
    float a, b, c, d, e;
    std::optional<Rgb> colour;
    int lineWidth;
};

class Win32WindowSystem final : public WindowSystem {
  public:
    Win32WindowSystem();
    ~Win32WindowSystem() override;
    Win32WindowSystem(const Win32WindowSystem&) = delete;
    Win32WindowSystem& operator=(const Win32WindowSystem&) = delete;

    void SetCaption(ControlId control, std::string_view text) override;
    std::string Caption(ControlId control) const override;
    void SetEnabled(ControlId control, bool enabled) override;
    bool IsEnabled(ControlId control) const override;
    void SetChecked(ControlId menuEntry, bool checked) override;
    void SetMenuTip(ControlId menuEntry, std::string_view text) override;
    bool IsChecked(ControlId menuEntry) const override;
    void FocusControl(ControlId control) override;

    void ListClear(ControlId list) override;
    void ListAdd(ControlId list, std::string_view item) override;
    int ListCount(ControlId list) const override;
    std::string ListItem(ControlId list, int index) const override;
    bool ListSelected(ControlId list, int index) const override;
    void ListSelect(ControlId list, int index) override;
    void ListSetMark(ControlId list, int index, LineMark mark) override;
    LineMark ListMark(ControlId list, int index) const override;

    bool SetPictureBitmap(ControlId box, BitmapBytes bmpFile) override;
    void SetPictureStock(ControlId box) override;
    void CopyPicture(ControlId from, ControlId to) override;
    void RemovePicture(ControlId box) override;

    void PictureClear(ControlId box) override;
    void SetLineWidth(ControlId box, int width) override;
    void FillRect(ControlId box, float x1, float y1, float x2, float y2, Rgb c) override;
    void DrawLine(ControlId box, float x1, float y1, float x2, float y2, Rgb c) override;
    void DrawArc(ControlId box, float cx, float cy, float radius, float fromAngle, float toAngle,
                 std::optional<Rgb> c) override;
    float ScaleWidth(ControlId box) const override;
    float ScaleHeight(ControlId box) const override;

    void SetScrollRange(ControlId bar, int min, int max, int smallChange, int largeChange) override;
    bool SetScrollValue(ControlId bar, int value) override;
    int ScrollValue(ControlId bar) const override;

    void SetFillStyle(ControlId shape, int style) override;
    int FillStyle(ControlId shape) const override;

    void SetWindowIcon(int index) override;

    void LoadForm(FormId form) override;
    void ShowForm(FormId form) override;
    void ShowModal(FormId form) override;
    void UnloadForm(FormId form) override;
    bool IsLoaded(FormId form) const override;

    std::optional<std::string> ChooseFolder(FormId owner, std::string_view start) override;
    void Beep() override;
    void SetPointer(MousePointer pointer) override;
    void ShellOpen(FormId window, std::string_view document) override;

    void EndProgram(int exitCode) override;
    void IdleTurn() override;

    // The main window's message loop.
    int Run() override;

    // For tests and screenshots.
    [[nodiscard]] HWND Window(FormId form) const;
    [[nodiscard]] HWND Handle(ControlId control) const;
    [[nodiscard]] std::optional<FormId> ModalForm() const;
    [[nodiscard]] const std::vector<DrawOp>& DrawOps(ControlId box) const;
    [[nodiscard]] int WindowIcon() const { return icon_; }

  protected:
    MsgAnswer ShowMessageBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                             std::string_view title) override;
    void ProcessEvents() override;

  private:
    struct Control;
    struct Modal {
        std::size_t row;
        std::vector<HWND> disabled; // the windows it disabled, enabled again when it closes
    };

    static LRESULT CALLBACK FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK PictureProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK LabelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK FolderListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                           DWORD_PTR self);
    LRESULT OnFormMessage(FormId form, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    LRESULT OnWindowMessage(FormId form, HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
    void OnNavigate(WPARAM wp, LPARAM lp);
    bool OnDrawItem(const DRAWITEMSTRUCT& item);
    void KeepLaidOutSize(FormId form, HWND hwnd, MINMAXINFO& info) const;
    void OnDpiChanged(FormId form, HWND hwnd, const RECT& suggested);
    void Relist(ControlId list);
    void OnCommand(FormId form, WPARAM wp, LPARAM lp);
    void OnKeyOrMenu(FormId form, int id);
    void DriveChosen(ControlId list);
    void OnScroll(ControlId bar, WPARAM wp);
    void OnMouseMove(FormId form, LPARAM lp);
    void PaintForm(FormId form, HDC dc);
    void PaintLabel(const DRAWITEMSTRUCT& item);
    void DrawLabel(ControlId label, HDC dc, const RECT& client, bool focused);
    void PaintLabels(FormId form, HDC dc);
    // A label its window draws under the pointer at `at`, in the window's client area.
    [[nodiscard]] std::optional<ControlId> LabelAt(FormId form, POINT at) const;
    void PaintListLine(const DRAWITEMSTRUCT& item);
    void PaintMark(FormId form, HDC dc, const RECT& tag, bool selected);
    // The widths a list line needs beyond its text: a folder's indent and icon, a mark's tag.
    [[nodiscard]] int LineLead(ControlId list, int line) const;
    [[nodiscard]] int MarkWidth(ControlId list, LineMark mark);
    [[nodiscard]] int LineHeight(ControlId list);
    [[nodiscard]] HICON FolderIcon(bool open, int size);
    void ShowOpenFolder(FormId form);
    void OpenTypedFolder(ControlId box);
    // Moves the controls that follow a sizable window's edges to its present size.
    void FollowSize(FormId form);
    void PaintPicture(ControlId box, HDC dc, const RECT& inner) const;
    // A memory device context like `screen` that holds at least `width` by `height` pixels.
    [[nodiscard]] HDC Buffer(HDC screen, int width, int height);
    void ShowMenuTip(HWND window, HMENU menu, UINT item, UINT flags);
    void PaintBackdrop(FormId form, ControlId over, HDC dc);

    Control& At(ControlId control);
    const Control& At(ControlId control) const;
    Control* Open(ControlId control);
    const Control* Open(ControlId control) const;
    [[nodiscard]] std::optional<FormId> FormOf(HWND hwnd) const;

    void Build(FormId form);
    HWND BuildWindow(FormId form);
    void BuildControl(FormId form, const ControlDesign& c, ControlId id);
    void AddFolderTip(FormId form, Control& list);
    void BuildMenus(FormId form);
    void RebuildMenu(ControlId menu);
    void Layout(FormId form);
    void Destroy(FormId form);
    void Bury();
    void RefreshTitle(FormId form);
    void FillDirList(ControlId id, std::string_view folder);
    void FillFileList(ControlId id, std::string_view folder);
    void FillDriveList(ControlId id);
    void MeasureLines(ControlId list);
    void ShowExtent(Control& c);
    void FinishFills();
    void ShowCaptions();
    void ChooseDriveOf(ControlId id, std::string_view folder);
    void ShowFolderTip(ControlId id, int line);
    void Focus(FormId form);
    void PressFocused(FormId form);
    void Invalidate(ControlId control);

    void Picked(ControlId control);
    void ShowChoice(ControlId control);
    void Route(MSG& msg);
    void EnableOwners(Modal& modal);

    [[nodiscard]] int Dpi(FormId form) const;
    [[nodiscard]] int Scale(FormId form, int pixels) const;
    [[nodiscard]] RECT Place(FormId form, const ControlDesign& c) const;
    [[nodiscard]] HFONT Font(int dpi, Face face);
    [[nodiscard]] HICON Icon(int index, int size);

    std::unique_ptr<std::vector<Control>> controls_; // by table row; Control is private
    std::map<std::size_t, HMENU> menus_;             // popup menus by the menu's row
    std::vector<Modal> modals_;
    std::vector<ControlId> fills_;    // lists refilled since the program last waited for the user
    std::vector<ControlId> captions_; // labels whose new caption their windows do not have yet
    HWND menuTip_ = nullptr;          // the tooltip beside a highlighted menu entry
    std::vector<HWND> graveyard_;     // unloaded windows, destroyed once their handlers returned
    std::map<std::pair<int, Face>, HFONT> fonts_;
    std::map<int, int> markWidths_; // a line mark's width by DPI
    std::map<std::pair<int, int>, HICON> icons_;
    std::map<std::pair<bool, int>, HICON> folderIcons_; // open or not, size
    HCURSOR pointer_ = nullptr;   // the application-wide pointer; none: each window's own
    HWND focusedLabel_ = nullptr; // the label the keyboard's focus is on, if any
    // Where pictures and windows' faces are drawn before they are shown, kept: making one
    // costs the Wine server six calls per repaint.
    HDC buffer_ = nullptr;
    HBITMAP bufferBitmap_ = nullptr;
    HGDIOBJ bufferOld_ = nullptr;
    SIZE bufferSize_{};
    WNDPROC staticProc_ = nullptr; // the static control's own procedure, under LabelProc
    int icon_ = 1;
    bool mainPlaced_ = false;
};

} // namespace adultify::win32
