#pragma once
// adultify-cli: the same logic as the editor's windows, on the in-memory window layer,
// printing what the main window would show.

#include "app/platform.h"

#include <ostream>
#include <string>
#include <vector>

namespace adultify {

inline constexpr int kCliOk = 0, kCliUsage = 1, kCliNotThere = 2, kCliFatal = 3,
                     kCliWriteFailed = 4, kCliRefused = 5, kCliPartlyDone = 6;

// Runs one command on the machine the platform reaches.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           Platform platform);
// The same on the platform the environment names, reading the registry given.
int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const EnvironmentLookup& env, RegistryMaker registry);

} // namespace adultify
