#include "ui/window_system.h"

namespace adultify {

void WindowSystem::DoEvents() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastEvents_ < interval_) return;
    lastEvents_ = now;
    ProcessEvents();
}

} // namespace adultify
