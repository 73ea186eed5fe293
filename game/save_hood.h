#pragma once

#include "core/module1.h"

#include <string>

namespace adultify {

inline constexpr int kBackupNames = 1000; // Neighborhood.000 to Neighborhood.999

// Saves HoodData as the chosen neighbourhood's file, keeping the file that was on disk under
// the first free name Neighborhood.000 to .999. The new file is written completely beside
// the old one before either is renamed, so a failure at any step leaves a whole
// neighbourhood file in place; it is reported in a message box and answers false.
[[nodiscard]] bool SaveHood(Module1& m);

// Base name + "." + three digits.
[[nodiscard]] std::string BackupName(const std::string& baseName, int k);

} // namespace adultify
