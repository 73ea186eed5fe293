#pragma once
// The editor's own command line, the same for every window layer: --help and --version answer
// and end the run; anything else it does not know is a usage error.

#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace adultify {

// `toolkit`: options that the window toolkit reads itself, each followed by a value (Qt's
// "-session", given by a session manager restoring the desktop); they are let through.
// Answers an exit code when the run ends here.
[[nodiscard]] std::optional<int> EditorCommandLine(const std::vector<std::string>& args,
                                                   std::ostream& out, std::ostream& err,
                                                   std::span<const std::string_view> toolkit = {});

} // namespace adultify
