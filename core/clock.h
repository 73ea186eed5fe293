#pragma once
// The time of day the program reads and the pause between two turns of a wait.

namespace adultify {

class Clock {
  public:
    virtual ~Clock() = default;
    // Seconds since midnight, fractions included.
    [[nodiscard]] virtual double TimeOfDay() = 0;
    // Gives the processor back for about `seconds`.
    virtual void Pause(double seconds) = 0;
};

class SystemClock final : public Clock {
  public:
    double TimeOfDay() override;
    void Pause(double seconds) override;
};

// A clock that moves only when paused, one tick per pause, so that a wait of the program
// passes at once and always takes the same number of turns.
class ManualClock final : public Clock {
  public:
    static constexpr double kTick = 0.01;
    explicit ManualClock(double startTimeOfDay = 36000.0) : now_(startTimeOfDay) {}
    double TimeOfDay() override { return now_; }
    void Pause(double) override { Advance(kTick); }
    void Advance(double seconds);

  private:
    double now_;
};

} // namespace adultify
