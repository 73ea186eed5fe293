#pragma once
// The window layer on Qt Widgets: every window is built from its design-time description.

#include "ui/form_design.h"
#include "ui/window_system.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QDialog;

namespace adultify::qt {

// The message box's button for an answer.
[[nodiscard]] QMessageBox::StandardButton ButtonOf(MsgAnswer answer);

class QtWindowSystem final : public WindowSystem {
  public:
    QtWindowSystem();
    ~QtWindowSystem() override;

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
    // QApplication::exec; the end of the desktop session is a close of the main window.
    int Run() override;
    void IdleTurn() override;

    // For tests and screenshots: a window or control by its name.
    [[nodiscard]] QWidget* Window(FormId form) const;
    [[nodiscard]] QWidget* Widget(ControlId control) const;
    [[nodiscard]] QAction* Action(ControlId menuEntry) const;
    [[nodiscard]] int WindowIcon() const { return icon_; }
    // Puts the texts and list lines written since the last repaint on the widgets; those of
    // hidden windows wait, unless `all`.
    void Flush(bool all = true);

  protected:
    MsgAnswer ShowMessageBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                             std::string_view title) override;
    void ProcessEvents() override;

  private:
    struct Control;
    Control& At(ControlId control);
    const Control& At(ControlId control) const;
    // The control when its window is open.
    Control* Open(ControlId control);
    const Control* Open(ControlId control) const;
    void Build(FormId form);
    QWidget* BuildWindow(FormId form);
    QWidget* ParentOf(FormId form, const ControlDesign& c) const;
    void BuildControl(FormId form, const ControlDesign& c, ControlId id);
    QWidget* BuildWidget(const ControlDesign& c, ControlId id, QWidget* parent);
    QWidget* BuildLabel(const ControlDesign& c, ControlId id, QWidget* parent);
    QWidget* BuildFrame(const ControlDesign& c, ControlId id, QWidget* parent);
    QWidget* BuildList(ControlId id, QWidget* parent);
    QWidget* BuildDirList(ControlId id, QWidget* parent);
    QWidget* BuildDriveList(ControlId id, QWidget* parent);
    void BuildMenu(FormId form, const ControlDesign& c, ControlId id);
    void FillDirList(Control& c, const std::string& folder);
    // The folder boxes of the window show the folder its folder list has open.
    void ShowOpenFolder(FormId form, const std::string& folder);
    // Enter in a folder box: the folder typed there opens in the window's folder list.
    void OpenTypedFolder(ControlId box);
    // Lays the controls that follow a sizable window's edges out for its present size.
    void FollowSize(FormId form);
    // Centres a window on the main window when that is shown, else on the screen.
    void CentreOnOwner(FormId form);
    void ChooseDriveOf(Control& c, const std::string& folder);
    void FillFileList(ControlId id, Control& c, const std::string& folder);
    // A window opens with the focus on its first control the keyboard reaches.
    void FocusFirst(FormId form);
    void Destroy(FormId form);
    bool Send(ControlId control, UiEvent event) override;
    // A user's pick in a list or drop-down: a click the program takes, or undone.
    void Picked(ControlId control);
    void ShowChoice(Control& c);
    void MarkDirty(ControlId control);
    void FlushList(Control& c);
    // The main window lists something: worth laying out before it is shown.
    [[nodiscard]] bool HasLines() const;

    std::unique_ptr<std::vector<Control>> controls_;   // by table row; Control is private
    std::map<std::size_t, QPointer<QWidget>> windows_; // by the window's row
    std::map<std::size_t, class QMenu*> menus_;        // by the menu's row
    // A status line written a thousand times between two repaints costs one widget update.
    std::vector<ControlId> dirty_;
    bool flushPosted_ = false;
    bool prepared_ = false; // the hidden main window has been laid out once
    int icon_ = 1;
    int pointerDepth_ = 0;
};

} // namespace adultify::qt
