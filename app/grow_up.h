#pragma once
// One child of the neighbourhood shown grown up through the main window's own Adultify, as a
// click on its List1 line and on the button runs it; for the commands that grow up several.

#include "core/module1.h"

#include <optional>
#include <string>
#include <vector>

namespace adultify {

struct GrowUpOutcome {
    bool grown = false;
    // Why not, in the words of the message that stopped it.
    std::string reason;
};

inline constexpr std::string_view kNotAChild = "not a child";

// Line `k` of List1 selected and clicked, then the "&Adultify" button's own command run, its
// questions asked as ever. With `holdNotices` its notices are not shown: the outcome names
// them. Called from a command already under way, so the handlers are called as they are.
GrowUpOutcome GrowUpLine(Module1& m, int k, bool holdNotices);

// The children of the neighbourhood read, of one family when given.
[[nodiscard]] std::vector<ChildLine> ChildrenShown(Module1& m,
                                                   const std::optional<std::string>& family);
// Every neighbourhood of Combo1 read in turn, as a pick there reads it: its children. Combo1
// is left at the last neighbourhood.
[[nodiscard]] std::vector<ChildLine> EveryChild(Module1& m);
// Picks neighbourhood `hood` in Combo1 as a user does; false when it is not listed.
bool PickHood(Module1& m, int hood);

} // namespace adultify
