#include "core/clock.h"

#include <chrono>
#include <cmath>
#include <ctime>
#include <thread>

namespace adultify {

namespace {
constexpr double kDay = 86400.0;
}

double SystemClock::TimeOfDay() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &t);
#else
    localtime_r(&t, &local);
#endif
    const auto sinceSecond = now - std::chrono::system_clock::from_time_t(t);
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec +
           std::chrono::duration<double>(sinceSecond).count();
}

void SystemClock::Pause(double seconds) {
    if (seconds > 0) std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
}

void ManualClock::Advance(double seconds) {
    now_ = std::fmod(now_ + seconds, kDay);
}

} // namespace adultify
