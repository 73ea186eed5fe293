#pragma once
// The marks of a list's lines, as every window layer keeps them beside the lines.

#include "ui/window_system.h"

#include <cstddef>
#include <vector>

namespace adultify {

class LineMarks {
  public:
    void Clear() { marks_.clear(); }
    // Marks line `index` of a list of `lines` lines; answers false, marking nothing, when the
    // list has no such line.
    bool Set(int index, int lines, LineMark mark) {
        if (index < 0 || index >= lines) return false;
        marks_.resize(static_cast<std::size_t>(lines));
        marks_[static_cast<std::size_t>(index)] = mark;
        return true;
    }
    // A line never marked, or one the list does not have, has none.
    [[nodiscard]] LineMark Of(std::size_t line) const {
        return line < marks_.size() ? marks_[line] : LineMark::None;
    }
    [[nodiscard]] LineMark Of(int line) const {
        return line >= 0 ? Of(static_cast<std::size_t>(line)) : LineMark::None;
    }
    // The lines up to the last one marked.
    [[nodiscard]] std::size_t Count() const { return marks_.size(); }

  private:
    std::vector<LineMark> marks_;
};

} // namespace adultify
