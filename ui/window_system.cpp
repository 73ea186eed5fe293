#include "ui/window_system.h"

#include <utility>

namespace adultify {

void WindowSystem::DoEvents() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastEvents_ < interval_) return;
    lastEvents_ = now;
    ProcessEvents();
}

MsgAnswer WindowSystem::ShowMessage(std::string_view text, MsgButtons buttons, MsgIcon icon,
                                    std::string_view title) {
    // Every watch, innermost first, sees the box; one that holds notices keeps it from the
    // screen and from the watches outside it.
    std::vector<MessageWatch*> seen;
    bool shown = true;
    for (MessageWatch* w = watch_; w != nullptr && shown; w = w->outer_) {
        seen.push_back(w);
        shown = !w->holdNotices_ || buttons != MsgButtons::Ok;
    }
    MsgAnswer answer = MsgAnswer::Ok;
    if (shown) {
        // A box shown while the box is up is not one of the watched commands'.
        MessageWatch* const watching = std::exchange(watch_, nullptr);
        try {
            answer = ShowMessageBox(text, buttons, icon, title);
        } catch (...) {
            watch_ = watching;
            throw;
        }
        watch_ = watching;
    }
    for (MessageWatch* w : seen)
        w->shown_.push_back({std::string(text), buttons, std::string(title), answer});
    return answer;
}

int FirstSelected(const WindowSystem& ui, ControlId list) {
    const int count = ui.ListCount(list);
    for (int i = 0; i < count; ++i)
        if (ui.ListSelected(list, i)) return i;
    return -1;
}

MessageWatch::MessageWatch(WindowSystem& ui, bool holdNotices)
    : ui_(ui), outer_(ui.watch_), holdNotices_(holdNotices) {
    ui_.watch_ = this;
}

MessageWatch::~MessageWatch() {
    ui_.watch_ = outer_;
}

} // namespace adultify
