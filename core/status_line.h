#pragma once

#include "core/module1.h"

#include <string_view>

namespace adultify {

// Writes both status labels (the main window's and the splash's), then yields.
void SetStatus(Module1& m, std::string_view text);

} // namespace adultify
