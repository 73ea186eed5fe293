#pragma once
// The program's random numbers: uniform in [0, 1), single precision, seeded from the time of
// day. A forced seed makes every later seeding take it instead, so that a run can be repeated.

#include <cstdint>
#include <optional>
#include <random>

namespace adultify {

class RandomSource {
  public:
    void Seed(double timeOfDay);
    [[nodiscard]] float Next();
    void Force(std::uint32_t seed);

  private:
    std::mt19937 engine_;
    std::optional<std::uint32_t> forced_;
};

} // namespace adultify
