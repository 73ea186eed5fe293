#pragma once

#include "core/module1.h"

namespace adultify {

// Fills Combo1 with one entry per UserData folder (1 to 99) that holds an entry named
// Neighborhood.iff (readable or not), reporting each on the splash's status label.
void FillNeighbourhoodList(Module1& m);

} // namespace adultify
