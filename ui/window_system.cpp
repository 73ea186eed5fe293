#include "ui/window_system.h"

namespace adultify {

void WindowSystem::DoEvents() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastEvents_ < interval_) return;
    lastEvents_ = now;
    ProcessEvents();
}

MsgAnswer WindowSystem::ShowMessage(std::string_view text, MsgButtons buttons, MsgIcon icon,
                                    std::string_view title) {
    if (watch_ != nullptr) return watch_->Show(text, buttons, icon, title);
    return ShowMessageBox(text, buttons, icon, title);
}

MessageWatch::MessageWatch(WindowSystem& ui, bool holdNotices)
    : ui_(ui), outer_(ui.watch_), holdNotices_(holdNotices) {
    ui_.watch_ = this;
}

MessageWatch::~MessageWatch() {
    ui_.watch_ = outer_;
}

MsgAnswer MessageWatch::Show(std::string_view text, MsgButtons buttons, MsgIcon icon,
                             std::string_view title) {
    MsgAnswer answer = MsgAnswer::Ok;
    if (!holdNotices_ || buttons != MsgButtons::Ok) {
        // The outer watch, if any, sees it too.
        ui_.watch_ = outer_;
        try {
            answer = ui_.ShowMessage(text, buttons, icon, title);
        } catch (...) {
            ui_.watch_ = this;
            throw;
        }
        ui_.watch_ = this;
    }
    shown_.push_back({std::string(text), buttons, std::string(title), answer});
    return answer;
}

} // namespace adultify
