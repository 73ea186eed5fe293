#include "app/editor_command_line.h"

#include "about/about_windows.h"
#include "app/platform.h"

#include <algorithm>

namespace adultify {

namespace {

constexpr const char* kUsage = "usage: adultify [--help | --version]\n";

constexpr const char* kHelp =
    "\n"
    "The editor for the saved neighbourhoods of The Sims (2000): it finds the game, shows its\n"
    "neighbourhoods and their residents, turns a child into an adult and edits skills, keeping\n"
    "a backup and a snapshot of every file it changes (File, Snapshots puts one back).\n"
    "Close the game first.\n"
    "\n"
    "  -h, --help  this text\n"
    "  --version   the program's version\n"
    "\n"
    "Without a display, adultify-cli does the same from a terminal (adultify-cli --help).\n";

} // namespace

std::optional<int> EditorCommandLine(const std::vector<std::string>& args, std::ostream& out,
                                     std::ostream& err, std::span<const std::string_view> toolkit) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h" || (kSlashHelp && arg == "/?")) {
            out << kUsage << kHelp;
            return 0;
        }
        if (arg == "--version") {
            out << "adultify " << MakeVersionNumber() << "\n";
            return 0;
        }
        if (std::find(toolkit.begin(), toolkit.end(), arg) != toolkit.end() &&
            i + 1 < args.size()) {
            ++i;
            continue;
        }
        err << "adultify: " << (arg.starts_with('-') ? "unknown option " : "unexpected ") << arg
            << "\n"
            << kUsage;
        return 1;
    }
    return std::nullopt;
}

} // namespace adultify
