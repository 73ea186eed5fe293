#include "ui/window_system.h"

namespace adultify {

void WindowSystem::Yield() {
    const auto now = std::chrono::steady_clock::now();
    if (now - lastYield_ < kYieldInterval) return;
    lastYield_ = now;
    ProcessEvents();
}

} // namespace adultify
