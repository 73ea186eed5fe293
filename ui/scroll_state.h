#pragma once
// A scroll bar's range and value, for the window layers that keep them themselves.

#include "ui/keyboard.h"

#include <algorithm>
#include <stdexcept>

namespace adultify {

class ScrollState {
  public:
    // A maximum below the minimum is taken as the minimum, as Qt's scroll bar takes it; the
    // value moves inside the new range.
    void SetRange(ScrollRange range) {
        range.max = std::max(range.min, range.max);
        range_ = range;
        value_ = std::clamp(value_, range_.min, range_.max);
    }
    // Answers whether the value changed; one outside the range is refused.
    bool SetValue(int value) {
        if (value < range_.min || value > range_.max)
            throw std::out_of_range("scroll bar value outside its range");
        const bool changed = value_ != value;
        value_ = value;
        return changed;
    }
    [[nodiscard]] int Value() const { return value_; }
    [[nodiscard]] const ScrollRange& Range() const { return range_; }

  private:
    ScrollRange range_{0, 32767, 1, 1};
    int value_ = 0;
};

} // namespace adultify
