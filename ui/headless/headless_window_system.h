#pragma once
// The window layer in memory: records what was shown, answers message boxes from a script
// and keeps a virtual clock, so that the logic runs without a window system.

#include "ui/keyboard.h"
#include "ui/line_marks.h"
#include "ui/scroll_state.h"
#include "ui/window_system.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace adultify {

struct HeadlessPicture {
    enum class Kind { None, Stock, Bitmap } kind = Kind::None;
    int width = 0, height = 0;
    friend bool operator==(const HeadlessPicture&, const HeadlessPicture&) = default;
};

struct DrawOp {
    enum class Kind { Clear, Fill, Line, Arc } kind;
    float a = 0, b = 0, c = 0, d = 0, e = 0; // corners; or centre, radius and angles
    std::optional<Rgb> colour;
    int lineWidth = 1;
};

struct MessageRecord {
    std::string text;
    MsgButtons buttons;
    MsgIcon icon;
    std::string title;
    MsgAnswer answer;
};

class HeadlessWindowSystem final : public WindowSystem {
  public:
    HeadlessWindowSystem();

    void SetCaption(ControlId control, std::string_view text) override;
    std::string Caption(ControlId control) const override;
    void SetEnabled(ControlId control, bool enabled) override;
    bool IsEnabled(ControlId control) const override;
    void SetChecked(ControlId menuEntry, bool checked) override;
    void SetMenuTip(ControlId menuEntry, std::string_view text) override;
    [[nodiscard]] const std::string& MenuTip(ControlId menuEntry) const;
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

    // Answered by `chooseFolder`; unscripted, the user cancels.
    std::optional<std::string> ChooseFolder(FormId owner, std::string_view start) override;
    void Beep() override { ++beeps_; }
    void SetPointer(MousePointer pointer) override;
    void ShellOpen(FormId window, std::string_view document) override;

    void EndProgram(int exitCode) override;
    void IdleTurn() override { ProcessEvents(); }

    // A Wine prefix's drive folder: the drive list offers its drive letters.
    void SetDosDevices(std::optional<std::filesystem::path> dosdevices) {
        dosdevices_ = std::move(dosdevices);
    }

    // A user's hand on a control, as a window system would pass it on to `eventSink`. A click
    // on a folder list's line highlights it; a double click, or Enter on the line highlighted,
    // opens that folder (a Change); the arrow keys move the highlight. A click on another
    // list's line picks it (a drive list reports a Change, a list a Click).
    void UserClick(ControlId list, int index);
    void UserDoubleClick(ControlId list, int index);
    void UserPress(ControlId control, Key key);
    // Text typed into a control: a folder box's text becomes it (as typed over, or pasted); in a
    // folder list each letter highlights the next folder whose name starts with it.
    void UserType(ControlId control, std::string_view text);
    std::function<bool(ControlId control, UiEvent event)> eventSink;
    // A key pressed in a window, as the keyboard rules say: Tab moves the focus, Enter and
    // Space click, Escape closes a dialog, the scroll keys move a focused scroll bar. What the
    // window reports goes to eventSink.
    void PressKey(FormId form, Key key);
    [[nodiscard]] std::optional<ControlId> Focused(FormId form) const;
    // The title with the mark of unsaved edits, a trailing "*", while the window has them.
    [[nodiscard]] std::string TitleShown(FormId form) const;
    // A list's line as a window would draw it.
    [[nodiscard]] std::string LineShown(ControlId list, int index) const;
    // Where a window lies on a screen of the laid-out size at 100 %: the main window where it
    // was put, any other centred on it when shown.
    [[nodiscard]] LaidOut Placement(FormId form) const;
    void MoveTo(FormId form, int x, int y);
    // The user drags a sizable window's edge: never smaller than laid out.
    void UserResize(FormId form, int width, int height);
    [[nodiscard]] LaidOut Placed(ControlId control) const;

    // Scripting and inspection.
    // Given the record with the answer of a box closed without a button.
    std::function<MsgAnswer(const MessageRecord&)> answerMessage;
    std::function<void(FormId form)> onModal; // drives a modal window
    std::function<void(ControlId control, std::string_view text)> onCaption;
    std::function<void(const MessageRecord&)> onMessage;
    std::function<std::optional<std::string>(FormId owner, std::string_view start)> chooseFolder;
    // What a user does while the program lets events run (a click on Cancel, say).
    std::function<void()> onEvents;

    const std::vector<std::string>& CaptionHistory(ControlId control) const;
    const std::vector<MessageRecord>& Messages() const { return messages_; }
    HeadlessPicture Picture(ControlId box) const;
    const std::vector<DrawOp>& DrawOps(ControlId box) const;
    std::vector<std::string> ListItems(ControlId list) const;
    int WindowIcon() const { return icon_; }
    const std::vector<int>& IconHistory() const { return iconHistory_; }
    MousePointer Pointer() const { return pointer_; }
    const std::vector<MousePointer>& PointerHistory() const { return pointerHistory_; }
    int Beeps() const { return beeps_; }
    int EventTurns() const { return eventTurns_; }
    const std::vector<std::string>& ShellOpened() const { return shellOpened_; }
    bool Ended() const { return ended_; }
    int ExitCode() const { return exitCode_; }
    bool IsShown(FormId form) const;

  protected:
    MsgAnswer ShowMessageBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                             std::string_view title) override;
    void ProcessEvents() override {
        ++eventTurns_;
        if (onEvents) onEvents();
    }

  private:
    struct Control {
        std::string caption;
        bool enabled = true;
        bool checked = false;
        std::string tip; // a menu entry's
        std::vector<std::string> items;
        LineMarks marks;
        std::vector<std::string> names; // a folder list's lines as shown
        int selected = -1;
        HeadlessPicture picture;
        std::vector<DrawOp> drawOps;
        int lineWidth = 1;
        float innerWidth = 0, innerHeight = 0;
        ScrollState scroll;
        int fillStyle = 1;
        std::vector<std::string> history;
    };
    struct Form {
        bool loaded = false;
        bool shown = false;
        std::optional<ControlId> focus;
        LaidOut place;
    };

    Control& At(ControlId control) { return controls_[control.Row()]; }
    const Control& At(ControlId control) const { return controls_[control.Row()]; }
    // A control of a closed window takes nothing; nothing when the window is closed.
    Control* Open(ControlId control);
    void ResetForm(FormId form);
    // A folder, drive or file list shows what its caption names.
    void FillListing(ControlId control, Control& c);
    void OpenFolderLineAt(ControlId list, int index);
    void OpenTypedFolder(ControlId box);
    bool Send(ControlId control, UiEvent event);
    void Report(ControlId control, UiEvent event);
    void MoveFocus(FormId form, bool forward);

    std::vector<Control> controls_ = std::vector<Control>(kControlCount); // by table row
    std::vector<Form> forms_ = std::vector<Form>(kControlCount);          // by the window's row
    std::vector<MessageRecord> messages_;
    std::vector<int> iconHistory_;
    std::vector<MousePointer> pointerHistory_;
    std::vector<std::string> shellOpened_;
    std::optional<std::filesystem::path> dosdevices_;
    int icon_ = -1;
    MousePointer pointer_ = MousePointer::Default;
    int beeps_ = 0;
    int eventTurns_ = 0;
    bool ended_ = false;
    int exitCode_ = 0;
};

} // namespace adultify
