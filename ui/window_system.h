#pragma once
// Every window operation the logic performs goes through this interface. Controls are named
// as on their windows ("Label3", "List1"); controls of other windows carry the window's name
// first ("Form3.HScroll1", "frmSplash.Label1"). Texts are UTF-8.

#include "iff/byte_string.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace adultify {

enum class MsgButtons { Ok, YesNo };
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
enum class MsgAnswer { Ok, Yes, No };
// What a window reports to the program: the logic's handlers are named by control and event.
enum class UiEvent { Click, Change, MouseMove, KeyPress, Close };

enum class MousePointer { Default = 0, UpArrow = 10, Hourglass = 11 };

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;

    // Captions of labels, frames, buttons, menu entries and windows (a window by its own name).
    virtual void SetCaption(std::string_view control, std::string_view text) = 0;
    [[nodiscard]] virtual std::string Caption(std::string_view control) const = 0;
    virtual void SetEnabled(std::string_view control, bool enabled) = 0;
    [[nodiscard]] virtual bool IsEnabled(std::string_view control) const = 0;
    virtual void SetChecked(std::string_view menuEntry, bool checked) = 0;
    [[nodiscard]] virtual bool IsChecked(std::string_view menuEntry) const = 0;

    // List boxes and the drop-down list. Selecting an entry of a drop-down list makes
    // its text the control's caption; -1 selects nothing.
    virtual void ListClear(std::string_view list) = 0;
    virtual void ListAdd(std::string_view list, std::string_view item) = 0;
    [[nodiscard]] virtual int ListCount(std::string_view list) const = 0;
    [[nodiscard]] virtual std::string ListItem(std::string_view list, int index) const = 0;
    [[nodiscard]] virtual bool ListSelected(std::string_view list, int index) const = 0;
    virtual void ListSelect(std::string_view list, int index) = 0;

    // Picture boxes. A bitmap the picture loader rejects leaves the box unchanged and
    // answers false.
    [[nodiscard]] virtual bool SetPictureBitmap(std::string_view box, const Bytes& bmpFile) = 0;
    virtual void SetPictureStock(std::string_view box) = 0;
    virtual void CopyPicture(std::string_view from, std::string_view to) = 0;

    // Drawing into a picture box, in its pixels.
    virtual void PictureClear(std::string_view box) = 0;
    virtual void SetLineWidth(std::string_view box, int width) = 0;
    virtual void FillRect(std::string_view box, float x1, float y1, float x2, float y2, Rgb c) = 0;
    virtual void DrawLine(std::string_view box, float x1, float y1, float x2, float y2, Rgb c) = 0;
    // Counter-clockwise on screen from `fromAngle` to `toAngle`, radians; no colour: foreground.
    virtual void DrawArc(std::string_view box, float cx, float cy, float radius, float fromAngle,
                         float toAngle, std::optional<Rgb> c) = 0;
    [[nodiscard]] virtual float ScaleWidth(std::string_view box) const = 0;
    [[nodiscard]] virtual float ScaleHeight(std::string_view box) const = 0;

    // Scroll bar. SetScrollValue answers whether the value changed; it raises no event.
    virtual void SetScrollRange(std::string_view bar, int min, int max, int smallChange,
                                int largeChange) = 0;
    virtual bool SetScrollValue(std::string_view bar, int value) = 0;
    [[nodiscard]] virtual int ScrollValue(std::string_view bar) const = 0;

    // Shapes: fill style 0 solid, 1 transparent.
    virtual void SetFillStyle(std::string_view shape, int style) = 0;
    [[nodiscard]] virtual int FillStyle(std::string_view shape) const = 0;

    // The main window's icon, one of the five faces (0 to 4).
    virtual void SetWindowIcon(int index) = 0;

    // Windows: load creates it fresh; show modal waits until it is unloaded.
    virtual void LoadForm(std::string_view form) = 0;
    virtual void ShowForm(std::string_view form) = 0;
    virtual void ShowModal(std::string_view form) = 0;
    virtual void UnloadForm(std::string_view form) = 0;
    [[nodiscard]] virtual bool IsLoaded(std::string_view form) const = 0;

    [[nodiscard]] virtual MsgAnswer MessageBox(std::string_view text, MsgButtons buttons,
                                               MsgIcon icon, std::string_view title) = 0;
    virtual void Beep() = 0;
    virtual void SetPointer(MousePointer pointer) = 0;
    virtual void ShellOpen(std::string_view window, std::string_view document) = 0;

    // Seconds since midnight, fractions included.
    [[nodiscard]] virtual double TimeOfDay() = 0;
    virtual void SeedRandom(double seed) = 0;
    // Uniform in [0, 1), single precision.
    [[nodiscard]] virtual float Random() = 0;

    // All windows close; the caller then unwinds (see ProgramEnd).
    virtual void EndProgram(int exitCode) = 0;

    // Lets pending repaints and input run; the window system is reached at most once per
    // 15 ms of work, so a status write costs nothing between two repaints.
    void Yield();
    // The same for a loop that yields per byte: looks at the clock only every 256th call.
    void YieldInLoop() {
        if ((++calls_ & 0xFF) == 0) Yield();
    }
    // One turn of a wait loop: lets events run and gives the processor back for a moment,
    // at most `maxSeconds`, so that a wait ends on time.
    virtual void IdleTurn(double maxSeconds) = 0;

    static constexpr std::chrono::milliseconds kYieldInterval{15};

  protected:
    virtual void ProcessEvents() = 0;

  private:
    std::uint32_t calls_ = 0;
    std::chrono::steady_clock::time_point lastYield_{};
};

// Thrown after EndProgram; caught only at the outermost level of a front end.
struct ProgramEnd {
    int exitCode = 0;
};

} // namespace adultify
