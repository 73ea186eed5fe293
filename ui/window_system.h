#pragma once
// Every window operation the logic performs goes through this interface. Controls and windows
// are named by ids from the layout table ("Label3", "Form3.HScroll1", "frmSplash"). Texts are
// UTF-8. No name here is one that <windows.h> defines as a macro.

#include "ui/control_id.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace adultify {

// YesNoDefaultNo: a question whose Yes changes or discards files; Enter answers No.
enum class MsgButtons { Ok, YesNo, YesNoCancel, YesNoDefaultNo };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok, Yes, No, Cancel };

// What a list line shows after its text, drawn by the window layer and never part of the text.
enum class LineMark : std::uint8_t { None, Child };

enum class MousePointer { Default = 0, UpArrow = 10, Hourglass = 11 };

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

using BitmapBytes = std::span<const std::uint8_t>;

class MessageWatch;

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;

    // Where the windows' events go; answers whether a handler ran. A pick in a list or
    // drop-down that none took is undone on the control.
    std::function<bool(ControlId control, UiEvent event)> eventSink;

    // A Wine prefix's drive folder: the drive list of a path dialog loaded from now on offers
    // its drive letters beside the machine's drives.
    void SetDosDevices(std::optional<std::filesystem::path> dosdevices) {
        dosdevices_ = std::move(dosdevices);
    }

    // Captions of labels, frames, buttons, menu entries and windows. A control of a closed
    // window takes no caption and answers the empty text.
    virtual void SetCaption(ControlId control, std::string_view text) = 0;
    [[nodiscard]] virtual std::string Caption(ControlId control) const = 0;
    virtual void SetEnabled(ControlId control, bool enabled) = 0;
    [[nodiscard]] virtual bool IsEnabled(ControlId control) const = 0;
    virtual void SetChecked(ControlId menuEntry, bool checked) = 0;
    // A longer text a menu entry shows beside itself while it is highlighted (the whole path
    // its caption shortens); empty for none.
    virtual void SetMenuTip(ControlId menuEntry, std::string_view text) = 0;
    [[nodiscard]] virtual bool IsChecked(ControlId menuEntry) const = 0;
    // The keyboard's focus goes to the control; in a window that is not active, once it is.
    virtual void FocusControl(ControlId control) = 0;

    // List boxes and the drop-down list. Selecting an entry of a drop-down list makes its text
    // the control's caption; -1 selects nothing; adding an entry keeps the selection.
    virtual void ListClear(ControlId list) = 0;
    virtual void ListAdd(ControlId list, std::string_view item) = 0;
    [[nodiscard]] virtual int ListCount(ControlId list) const = 0;
    [[nodiscard]] virtual std::string ListItem(ControlId list, int index) const = 0;
    [[nodiscard]] virtual bool ListSelected(ControlId list, int index) const = 0;
    virtual void ListSelect(ControlId list, int index) = 0;
    // The mark of a line already added; a cleared list's lines have none.
    virtual void ListSetMark(ControlId list, int index, LineMark mark) = 0;
    [[nodiscard]] virtual LineMark ListMark(ControlId list, int index) const = 0;

    // Picture boxes. A bitmap the picture loader rejects leaves the box unchanged and
    // answers false.
    [[nodiscard]] virtual bool SetPictureBitmap(ControlId box, BitmapBytes bmpFile) = 0;
    virtual void SetPictureStock(ControlId box) = 0;
    virtual void CopyPicture(ControlId from, ControlId to) = 0;
    // The box shows nothing: no picture and no drawing.
    virtual void RemovePicture(ControlId box) = 0;

    // Drawing into a picture box, in its inner pixels (a bordered box loses two a side).
    virtual void PictureClear(ControlId box) = 0;
    virtual void SetLineWidth(ControlId box, int width) = 0;
    virtual void FillRect(ControlId box, float x1, float y1, float x2, float y2, Rgb c) = 0;
    virtual void DrawLine(ControlId box, float x1, float y1, float x2, float y2, Rgb c) = 0;
    // Counter-clockwise on screen from `fromAngle` to `toAngle`, radians; no colour: foreground.
    virtual void DrawArc(ControlId box, float cx, float cy, float radius, float fromAngle,
                         float toAngle, std::optional<Rgb> c) = 0;
    [[nodiscard]] virtual float ScaleWidth(ControlId box) const = 0;
    [[nodiscard]] virtual float ScaleHeight(ControlId box) const = 0;

    // Scroll bar. SetScrollValue answers whether the value changed; it raises no event.
    virtual void SetScrollRange(ControlId bar, int min, int max, int smallChange,
                                int largeChange) = 0;
    virtual bool SetScrollValue(ControlId bar, int value) = 0;
    [[nodiscard]] virtual int ScrollValue(ControlId bar) const = 0;

    // Shapes: fill style 0 solid, 1 transparent.
    virtual void SetFillStyle(ControlId shape, int style) = 0;
    [[nodiscard]] virtual int FillStyle(ControlId shape) const = 0;

    // The main window's icon, one of the five faces (0 to 4).
    virtual void SetWindowIcon(int index) = 0;

    // Windows: load creates one fresh from its design; show modal waits until it is unloaded.
    // The main window is loaded from the start and closes only when the program ends.
    virtual void LoadForm(FormId form) = 0;
    virtual void ShowForm(FormId form) = 0;
    virtual void ShowModal(FormId form) = 0;
    virtual void UnloadForm(FormId form) = 0;
    [[nodiscard]] virtual bool IsLoaded(FormId form) const = 0;

    // A box closed without a button (Escape, its close box) answers Cancel when it has one,
    // otherwise No to a question and OK to a notice. A MessageWatch sees it first.
    [[nodiscard]] MsgAnswer ShowMessage(std::string_view text, MsgButtons buttons, MsgIcon icon,
                                        std::string_view title);
    // The platform's own folder chooser, opened over `owner` at `start`; nothing when the user
    // cancels it.
    [[nodiscard]] virtual std::optional<std::string> ChooseFolder(FormId owner,
                                                                  std::string_view start) = 0;
    virtual void Beep() = 0;
    virtual void SetPointer(MousePointer pointer) = 0;
    virtual void ShellOpen(FormId window, std::string_view document) = 0;

    // Every window closes; the caller then unwinds (see ProgramEnd). No window is loaded after.
    virtual void EndProgram(int exitCode) = 0;
    [[nodiscard]] bool Ended() const { return ended_; }
    [[nodiscard]] int ExitCode() const { return exitCode_; }
    // Runs the windows' event loop until the program ends; answers the exit code.
    virtual int Run() = 0;

    // Lets pending repaints and input run; the window system is reached at most once per
    // 15 ms of work, so a status write costs nothing between two repaints.
    void DoEvents();
    // The same for a loop that yields per byte: looks at the clock only every 256th call.
    void DoEventsInLoop() {
        if ((++calls_ & 0xFF) == 0) DoEvents();
    }
    // `steps` such calls at once, for a loop that skips ahead; at most LoopStepsToYield().
    void DoEventsInLoop(std::uint32_t steps) {
        calls_ += steps;
        if (steps > 0 && (calls_ & 0xFF) == 0) DoEvents();
    }
    // The calls of DoEventsInLoop up to and including the one that yields.
    [[nodiscard]] std::uint32_t LoopStepsToYield() const { return 0x100 - (calls_ & 0xFF); }
    // One turn of a wait: lets events run and does the window layer's idle work.
    virtual void IdleTurn() = 0;

    static constexpr std::chrono::milliseconds kDoEventsInterval{15};
    // Zero lets events run at every DoEvents, so that a test knows where a command yields.
    void SetDoEventsInterval(std::chrono::milliseconds interval) { interval_ = interval; }

  protected:
    // An event to the program, unless it has ended; answers whether a handler ran.
    virtual bool Send(ControlId control, UiEvent event) {
        return !ended_ && eventSink && eventSink(control, event);
    }
    // For EndProgram: the program has ended, with this exit code.
    void MarkEnded(int exitCode) {
        ended_ = true;
        exitCode_ = exitCode;
    }
    [[nodiscard]] const std::optional<std::filesystem::path>& DosDevices() const {
        return dosdevices_;
    }
    virtual void ProcessEvents() = 0;
    // The box itself, as the window layer shows it.
    [[nodiscard]] virtual MsgAnswer ShowMessageBox(std::string_view text, MsgButtons buttons,
                                                   MsgIcon icon, std::string_view title) = 0;

  private:
    friend class MessageWatch;
    MessageWatch* watch_ = nullptr;
    std::chrono::milliseconds interval_ = kDoEventsInterval;
    std::uint32_t calls_ = 0;
    std::chrono::steady_clock::time_point lastEvents_{};
    std::optional<std::filesystem::path> dosdevices_;
    bool ended_ = false;
    int exitCode_ = 0;
};

// A message box as it was shown and answered.
struct ShownMessage {
    std::string text;
    MsgButtons buttons = MsgButtons::Ok;
    std::string title;
    MsgAnswer answer = MsgAnswer::Ok;
};

// Sees every message box while it lives, nested watches one after another: a run of commands
// tells from them why one stopped. Holding notices (boxes with OK alone) answers them without
// showing them, for a summary to name at the end; questions are always asked.
class MessageWatch {
  public:
    MessageWatch(WindowSystem& ui, bool holdNotices);
    ~MessageWatch();
    MessageWatch(const MessageWatch&) = delete;
    MessageWatch& operator=(const MessageWatch&) = delete;

    [[nodiscard]] const std::vector<ShownMessage>& Shown() const { return shown_; }

  private:
    friend class WindowSystem;

    WindowSystem& ui_;
    MessageWatch* outer_;
    bool holdNotices_;
    std::vector<ShownMessage> shown_;
};

// The first selected line of a list or drop-down; -1 when none is.
[[nodiscard]] int FirstSelected(const WindowSystem& ui, ControlId list);

// Thrown after EndProgram; caught only at the outermost level of a front end.
struct ProgramEnd {
    int exitCode = 0;
};

} // namespace adultify
