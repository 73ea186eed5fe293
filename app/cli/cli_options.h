#pragma once
// The command line of adultify-cli: a command, its arguments and options before or after it.

#include "app/cli/cli_commands.h"

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace adultify {

struct CliOptions {
    std::optional<std::string> game;
    std::optional<int> found; // the Nth game of `games`, 1 first
    std::optional<int> hood;
    std::optional<int> codePage;
    bool yes = false;
    std::optional<std::uint32_t> seed;
    bool keepPersonality = false;
    bool noSnapshot = false;
    bool trace = false;
    bool json = false;
    std::optional<std::string> family; // grow-up-all: only this family's children
    const CliCommand* command = nullptr;
    std::vector<std::string> args;
};

// Parses the arguments; answers an exit code when the run ends here (help, version, a usage
// error, each with what it prints).
[[nodiscard]] std::optional<int> ParseCliOptions(const std::vector<std::string>& args,
                                                 CliOptions& options, std::ostream& out,
                                                 std::ostream& err);

[[nodiscard]] std::optional<long long> WholeNumber(const std::string& s);

} // namespace adultify
