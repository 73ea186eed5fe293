// One body of tests for the window layer, run against every implementation: here the one in
// memory.
#include "tests/ui/window_layer_contract.h"

#include "ui/headless/headless_window_system.h"

#include <algorithm>
#include <deque>
#include <optional>
#include <utility>

namespace adultify {
namespace {

class HeadlessDriver final : public RecordingDriver {
  public:
    HeadlessDriver() {
        RecordEventsOf(ui_);
        // An unscripted box keeps the layer's own answer, as a box closed without a button.
        ui_.answerMessage = [this](const MessageRecord& r) {
            if (answers_.empty()) return r.answer;
            const Answer a = answers_.front();
            answers_.pop_front();
            if (a.enter) return EnterAnswer(r.buttons);
            return a.press.value_or(r.answer);
        };
    }
    WindowSystem& ui() override { return ui_; }
    void AnswerNextMessage(MsgAnswer answer) override { answers_.push_back({answer, false}); }
    void DismissNextMessage(Dismissal how) override {
        answers_.push_back({std::nullopt, how == Dismissal::Enter});
    }
    MessageSeen LastMessage() const override {
        // No screen: the box shows each line of its text as one.
        const MessageRecord& r = ui_.Messages().back();
        return {r.text, r.title, r.buttons, r.icon,
                static_cast<int>(std::count(r.text.begin(), r.text.end(), '\n')) + 1};
    }
    void WhenModal(std::function<void(FormId)> step) override { ui_.onModal = std::move(step); }
    std::vector<DrawKind> Drawn(ControlId box) const override { return KindsOf(ui_.DrawOps(box)); }
    void SetDosDevices(const std::filesystem::path& dosdevices) override {
        ui_.SetDosDevices(dosdevices);
    }
    void ClickLine(ControlId list, int index) override { ui_.UserClick(list, index); }
    void DoubleClickLine(ControlId list, int index) override { ui_.UserDoubleClick(list, index); }
    void Press(ControlId control, Key key) override { ui_.UserPress(control, key); }
    // A line shows its folder's path whole: the list has no width to cut it to.
    std::string HoverText(ControlId list, int index) const override {
        return ui_.ListItem(list, index);
    }
    void PressKey(FormId form, Key key) override { ui_.PressKey(form, key); }
    std::optional<ControlId> Focused(FormId form) const override { return ui_.Focused(form); }
    // In memory the pointer lies on the control itself; a control passes no move on.
    void PointerOver(ControlId control) override {
        if (control.Reports(UiEvent::MouseMove)) reported_.push_back({control, UiEvent::MouseMove});
    }
    std::string TitleShown(FormId form) const override { return ui_.TitleShown(form); }
    std::string LineShown(ControlId list, int index) const override {
        return ui_.LineShown(list, index);
    }
    // Text widths need pixels, which this layer has none of: every text counts as fitting.
    bool Resizable(FormId form) const override {
        HeadlessWindowSystem probe;
        probe.ShowForm(form);
        probe.UserResize(form, form.Design().width + 1, form.Design().height + 1);
        return probe.Placement(form).width != form.Design().width;
    }
    bool TextFits(ControlId) const override { return true; }
    void Type(ControlId control, std::string_view text) override { ui_.UserType(control, text); }
    bool MarkShown(ControlId list, int index) override {
        return ui_.ListMark(list, index) != LineMark::None;
    }
    LaidOut WindowPlace(FormId form) const override { return ui_.Placement(form); }
    void PutWindowAt(FormId form, int x, int y) override { ui_.MoveTo(form, x, y); }
    void ResizeClient(FormId form, int width, int height) override {
        ui_.UserResize(form, width, height);
    }
    LaidOut Placed(ControlId control) const override { return ui_.Placed(control); }

  private:
    struct Answer {
        std::optional<MsgAnswer> press; // none: closed without a button
        bool enter = false;
    };
    HeadlessWindowSystem ui_;
    std::deque<Answer> answers_;
};

ADULTIFY_WINDOW_LAYER_CONTRACT(Headless, HeadlessDriver, "InMemory");

} // namespace
} // namespace adultify
