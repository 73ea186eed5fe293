#pragma once
// The commands of adultify-cli in one table: the usage, --help, the argument checks and the
// dispatch all read it, so a command is added in one row.

#include <cstddef>
#include <span>
#include <string_view>

namespace adultify {

class CliSession;

// What runs before a command's handler, each step after the ones before it: the start-up that
// finds the game, the Combo1 click on the chosen neighbourhood, the List1 click on line K.
enum class CommandNeeds { Nothing, Game, Hood, Resident };

struct CliCommand {
    std::string_view name;
    std::string_view arguments; // their names, checked by name: K, NAME, VALUE, ID
    CommandNeeds needs;
    std::string_view help; // its --help line; a "\n" continues it under the first
    int (*run)(CliSession&);
};

[[nodiscard]] std::span<const CliCommand> CliCommands();
// nullptr when there is no such command.
[[nodiscard]] const CliCommand* FindCliCommand(std::string_view name);
// How many arguments a command takes: the words of its `arguments`.
[[nodiscard]] std::size_t ArgumentCount(const CliCommand& command);

} // namespace adultify
