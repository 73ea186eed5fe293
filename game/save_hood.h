#pragma once

#include "core/module1.h"

#include <optional>
#include <string>

namespace adultify {

// Saves HoodData as the chosen neighbourhood's file, keeping the file that was on disk under
// the first free name Neighborhood.000 to .999 (a name no entry of any kind has). At no
// moment is the neighbourhood's file absent or partial; a failure is reported in a message
// box and answers false.
[[nodiscard]] bool SaveHood(Module1& m);

// The neighbourhood's new file with its backup name, for a save of several files; nothing
// (and a report) when no backup name is free.
[[nodiscard]] std::optional<Replacement> HoodReplacement(Module1& m);
// After the neighbourhood's file was written: nothing is left unsaved.
void MarkSaved(Module1& m);

// "Saved Neighborhood.iff; the old one is Neighborhood.003": the status line after a save.
[[nodiscard]] std::string SavedText(const Replacement& hood);

// Base name + "." + three digits.
[[nodiscard]] std::string BackupName(const std::string& baseName, int k);

} // namespace adultify
