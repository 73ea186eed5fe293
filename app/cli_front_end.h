#pragma once
// adultify-cli: the same logic as the editor's windows, on the in-memory window layer,
// printing what the main window would show.

#include "game/wine_prefix.h"

#include <ostream>
#include <string>
#include <vector>

namespace adultify {

inline constexpr int kCliOk = 0, kCliUsage = 1, kCliNotThere = 2, kCliFatal = 3,
                     kCliWriteFailed = 4;

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const EnvironmentLookup& env);

} // namespace adultify
