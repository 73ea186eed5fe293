#pragma once

#include "core/module1.h"

#include <optional>

namespace adultify {

// Fills Combo1 with one entry per UserData folder (1 to 99) that holds an entry named
// Neighborhood.iff (readable or not), reporting each on the splash's status label.
void FillNeighbourhoodList(Module1& m);

// Fills Combo1 with the one neighbourhood a command reads: `hood`, else the first there is, found
// as FillNeighbourhoodList finds it but without a look at the others. False when there is
// none; FillNeighbourhoodList then gives the whole list and reports the folders it cannot read.
[[nodiscard]] bool ListOneNeighbourhood(Module1& m, std::optional<int> hood);

} // namespace adultify
