#pragma once
// The window layer in memory: records what was shown, answers message boxes from a script
// and keeps a virtual clock, so that the logic runs without a window system.

#include "ui/window_system.h"

#include <functional>
#include <map>
#include <random>
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
    explicit HeadlessWindowSystem(double startTimeOfDay = 36000.0);

    void SetCaption(std::string_view control, std::string_view text) override;
    std::string Caption(std::string_view control) const override;
    void SetEnabled(std::string_view control, bool enabled) override;
    bool IsEnabled(std::string_view control) const override;
    void SetChecked(std::string_view menuEntry, bool checked) override;
    bool IsChecked(std::string_view menuEntry) const override;

    void ListClear(std::string_view list) override;
    void ListAdd(std::string_view list, std::string_view item) override;
    int ListCount(std::string_view list) const override;
    std::string ListItem(std::string_view list, int index) const override;
    bool ListSelected(std::string_view list, int index) const override;
    void ListSelect(std::string_view list, int index) override;

    bool SetPictureBitmap(std::string_view box, const Bytes& bmpFile) override;
    void SetPictureStock(std::string_view box) override;
    void CopyPicture(std::string_view from, std::string_view to) override;

    void PictureClear(std::string_view box) override;
    void SetLineWidth(std::string_view box, int width) override;
    void FillRect(std::string_view box, float x1, float y1, float x2, float y2, Rgb c) override;
    void DrawLine(std::string_view box, float x1, float y1, float x2, float y2, Rgb c) override;
    void DrawArc(std::string_view box, float cx, float cy, float radius, float fromAngle,
                 float toAngle, std::optional<Rgb> c) override;
    float ScaleWidth(std::string_view box) const override;
    float ScaleHeight(std::string_view box) const override;

    void SetScrollRange(std::string_view bar, int min, int max, int smallChange,
                        int largeChange) override;
    bool SetScrollValue(std::string_view bar, int value) override;
    int ScrollValue(std::string_view bar) const override;

    void SetFillStyle(std::string_view shape, int style) override;
    int FillStyle(std::string_view shape) const override;

    void SetWindowIcon(int index) override;

    void LoadForm(std::string_view form) override;
    void ShowForm(std::string_view form) override;
    void ShowModal(std::string_view form) override;
    void UnloadForm(std::string_view form) override;
    bool IsLoaded(std::string_view form) const override;

    MsgAnswer MessageBox(std::string_view text, MsgButtons buttons, MsgIcon icon,
                         std::string_view title) override;
    void Beep() override { ++beeps_; }
    void SetPointer(MousePointer pointer) override;
    void ShellOpen(std::string_view window, std::string_view document) override;

    double TimeOfDay() override { return clock_; }
    void SeedRandom(double seed) override;
    float Random() override;

    void EndProgram(int exitCode) override;
    void IdleTurn(double maxSeconds) override;

    // Scripting and inspection.
    std::function<MsgAnswer(const MessageRecord&)> answerMessage; // default: No, or OK
    std::function<void(std::string_view form)> onModal;           // drives a modal window
    std::function<void(std::string_view control, std::string_view text)> onCaption;
    std::function<void(const MessageRecord&)> onMessage;
    void ForceSeed(std::uint32_t seed) {
        forcedSeed_ = seed;
        SeedRandom(0);
    }
    void AdvanceClock(double seconds);

    const std::vector<std::string>& CaptionHistory(std::string_view control) const;
    const std::vector<MessageRecord>& Messages() const { return messages_; }
    HeadlessPicture Picture(std::string_view box) const;
    const std::vector<DrawOp>& DrawOps(std::string_view box) const;
    std::vector<std::string> ListItems(std::string_view list) const;
    int WindowIcon() const { return icon_; }
    const std::vector<int>& IconHistory() const { return iconHistory_; }
    MousePointer Pointer() const { return pointer_; }
    const std::vector<MousePointer>& PointerHistory() const { return pointerHistory_; }
    int Beeps() const { return beeps_; }
    int EventTurns() const { return eventTurns_; }
    const std::vector<std::string>& ShellOpened() const { return shellOpened_; }
    bool Ended() const { return ended_; }
    int ExitCode() const { return exitCode_; }
    bool IsShown(std::string_view form) const;

  protected:
    void ProcessEvents() override { ++eventTurns_; }

  private:
    struct Control {
        std::string caption;
        bool enabled = true;
        bool checked = false;
        std::vector<std::string> items;
        int selected = -1;
        HeadlessPicture picture;
        std::vector<DrawOp> drawOps;
        int lineWidth = 1;
        float innerWidth = 0, innerHeight = 0;
        int min = 0, max = 32767, smallChange = 1, largeChange = 1, value = 0;
        int fillStyle = 1;
        std::vector<std::string> history;
    };
    struct Form {
        bool loaded = false;
        bool shown = false;
    };

    Control& At(std::string_view control);
    const Control* Find(std::string_view control) const;
    void ResetForm(std::string_view form);

    std::map<std::string, Control, std::less<>> controls_;
    std::map<std::string, Form, std::less<>> forms_;
    std::vector<MessageRecord> messages_;
    std::vector<int> iconHistory_;
    std::vector<MousePointer> pointerHistory_;
    std::vector<std::string> shellOpened_;
    double clock_;
    std::mt19937 rng_;
    std::optional<std::uint32_t> forcedSeed_;
    int icon_ = -1;
    MousePointer pointer_ = MousePointer::Default;
    int beeps_ = 0;
    int eventTurns_ = 0;
    bool ended_ = false;
    int exitCode_ = 0;
};

} // namespace adultify
