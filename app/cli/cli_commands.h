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
// HoodChosen selects the neighbourhood in Combo1 without the click: none of its residents is
// read, for the commands that need only its number (the snapshots).
enum class CommandNeeds { Nothing, Game, HoodChosen, Hood, Resident };

struct CliCommand {
    std::string_view name;
    // Their names, checked by name: K, NAME, VALUE, ID. What follows in brackets is optional:
    // "[K ...]" takes further K, "[--family NAME]" names an option of this command alone.
    std::string_view arguments;
    CommandNeeds needs;
    std::string_view help; // its --help line; a "\n" continues it under the first
    int (*run)(CliSession&);
    bool json = false; // --json prints one JSON document instead of the lines
};

[[nodiscard]] std::span<const CliCommand> CliCommands();
// nullptr when there is no such command.
[[nodiscard]] const CliCommand* FindCliCommand(std::string_view name);
// How many arguments a command takes: the words of its `arguments` before any in brackets.
[[nodiscard]] std::size_t ArgumentCount(const CliCommand& command);
// Whether it takes further arguments after those, as its "[K ...]" says.
[[nodiscard]] bool TakesMore(const CliCommand& command);

} // namespace adultify
