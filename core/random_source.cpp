#include "core/random_source.h"

#include <cmath>

namespace adultify {

void RandomSource::Seed(double timeOfDay) {
    // Milliseconds of the day: two seedings in one second still differ.
    engine_.seed(forced_ ? *forced_
                         : static_cast<std::uint32_t>(std::fmod(timeOfDay * 1000.0, 4294967296.0)));
}

float RandomSource::Next() {
    // The top 24 bits: every value a float holds exactly, never 1.
    return static_cast<float>(engine_() >> 8) * (1.0f / 16777216.0f);
}

void RandomSource::Force(std::uint32_t seed) {
    forced_ = seed;
    Seed(0);
}

} // namespace adultify
