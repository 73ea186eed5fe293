#pragma once
// The window layer on Qt Widgets: every window is built from its design-time description.

#include "ui/form_design.h"
#include "ui/window_system.h"

#include <QPointer>
#include <QWidget>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <string>
#include <vector>

class QAction;
class QDialog;

namespace adultify::qt {

class QtWindowSystem final : public WindowSystem {
  public:
    // `dosdevices`: the Wine prefix's drive folder, offered in the path dialog's drive list.
    explicit QtWindowSystem(std::optional<std::filesystem::path> dosdevices = std::nullopt);
    ~QtWindowSystem() override;

    // Where the windows' events go; answers whether a handler ran.
    std::function<bool(std::string_view control, UiEvent event)> eventSink;
    // Tests make start-up's waits pass quickly; empty means the real time of day.
    std::function<double()> clock;

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
    void Beep() override;
    void SetPointer(MousePointer pointer) override;
    void ShellOpen(std::string_view window, std::string_view document) override;

    double TimeOfDay() override;
    void SeedRandom(double seed) override;
    float Random() override;

    void EndProgram(int exitCode) override;
    void IdleTurn(double maxSeconds) override;

    // For tests and screenshots: a window or control by its name.
    [[nodiscard]] QWidget* Window(std::string_view form) const;
    [[nodiscard]] QWidget* Widget(std::string_view control) const;
    [[nodiscard]] QAction* Action(std::string_view menuEntry) const;
    [[nodiscard]] int WindowIcon() const { return icon_; }
    [[nodiscard]] bool Ended() const { return ended_; }
    // Puts the texts and list lines written since the last repaint on the widgets; those of
    // hidden windows wait, unless `all`.
    void Flush(bool all = true);
    [[nodiscard]] int ExitCode() const { return exitCode_; }

  protected:
    void ProcessEvents() override;

  private:
    struct Control;
    Control& At(std::string_view control);
    const Control* Find(std::string_view control) const;
    void Build(const FormDesign& form);
    void Destroy(std::string_view form);
    bool Send(std::string_view control, UiEvent event);
    void MarkDirty(std::string_view control);
    void FlushList(Control& c);

    std::unique_ptr<std::map<std::string, Control, std::less<>>> controls_; // Control is private
    std::map<std::string, QPointer<QWidget>, std::less<>> windows_;
    // A status line written a thousand times between two repaints costs one widget update.
    std::vector<std::string> dirty_;
    bool flushPosted_ = false;
    bool prepared_ = false; // the hidden main window has been laid out once
    std::optional<std::filesystem::path> dosdevices_;
    std::mt19937 rng_;
    int icon_ = 1;
    int pointerDepth_ = 0;
    bool ended_ = false;
    int exitCode_ = 0;
};

} // namespace adultify::qt
