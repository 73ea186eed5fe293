#include "app/cli/cli_options.h"

#include "app/cli/cli_front_end.h"
#include "game/code_page.h"
#include "hood/resident_layout.h"

#include <getopt.h>

#include <charconv>

namespace adultify {

namespace {

constexpr const char* kUsage =
    "usage: adultify-cli [--game DIR | --found N] [--hood N] [--codepage N] [--yes] [--seed S]\n"
    "                    [--keep-personality] [--no-snapshot] [--trace] COMMAND [ARGS]\n"
    "commands: hoods | list | show K | adultify K | skill K NAME VALUE | fix-thumbnails K |\n"
    "          body-strings K | save | residents | snapshots | restore ID | games\n";

// --help: the usage, then each command, option and exit status in a line.
constexpr const char* kHelpDetails =
    "\n"
    "Edits the saved neighbourhoods of The Sims (2000) without windows; close the game first.\n"
    "K is a resident's line number in `list`, counted from 0.\n"
    "\n"
    "commands:\n"
    "  hoods               the neighbourhoods of the game folder\n"
    "  list                the residents of the neighbourhood\n"
    "  residents           the residents, tab-separated: K, age, user file, name\n"
    "  show K              everything the editor shows of resident K\n"
    "  adultify K          turns child K into an adult and saves, with a backup\n"
    "  skill K NAME VALUE  sets skill NAME (Cooking, Mechanical, Charisma, Body, Logic,\n"
    "                      Creativity) of resident K to VALUE (0 to 1000) and saves\n"
    "  fix-thumbnails K    removes the stored thumbnails from resident K's character file\n"
    "  body-strings K      lists the body strings of resident K's character file\n"
    "  save                saves the neighbourhood, keeping the old file as a backup\n"
    "  snapshots           the copies taken before each write: ID, time, command, files\n"
    "  restore ID          puts snapshot ID's files back (taking a snapshot first)\n"
    "  games               every game found: number, source, game folder, neighbourhoods,\n"
    "                      code page (tab-separated)\n"
    "\n"
    "options:\n"
    "  --game DIR          the game folder (holding Sims.exe) instead of the one found\n"
    "  --found N           the Nth game of `games` instead of the first\n"
    "  --hood N            neighbourhood N instead of the first\n"
    "  --codepage N        reads the names in Windows code page N\n"
    "  --yes               answers Yes to every question (otherwise No)\n"
    "  --seed S            repeats the personality draw of an earlier run\n"
    "  --keep-personality  adultify keeps the personality\n"
    "  --no-snapshot       writes without taking a snapshot first\n"
    "  --trace             prints every status-line text on standard error\n"
    "  --version           the program's version\n"
    "\n"
    "exit status:\n"
    "  0  the command ran to its end\n"
    "  1  a usage error\n"
    "  2  something asked for is not there: no game, no such neighbourhood or resident,\n"
    "     or the resident is not a child\n"
    "  3  the program stopped on a fatal error (its message printed first)\n"
    "  4  a save or write failed; nothing was lost\n"
    "  5  refused, nothing changed: the game is running, a file changed on disk, another\n"
    "     run is editing the game, a file is unreadable or read-only, or no snapshot\n"
    "     can be kept (see --no-snapshot)\n";

int Usage(std::ostream& err, const std::string& why) {
    err << "adultify-cli: " << why << "\n" << kUsage;
    return kCliUsage;
}

struct CommandShape {
    const char* name;
    std::size_t args;
};
constexpr CommandShape kCommands[] = {{"hoods", 0},        {"list", 0},      {"show", 1},
                                      {"adultify", 1},     {"skill", 3},     {"fix-thumbnails", 1},
                                      {"body-strings", 1}, {"save", 0},      {"snapshots", 0},
                                      {"restore", 1},      {"residents", 0}, {"games", 0}};

enum OptionKey {
    kGame = 256,
    kFound,
    kHood,
    kCodePage,
    kYes,
    kSeed,
    kKeepPersonality,
    kNoSnapshot,
    kTrace,
    kVersion
};
constexpr option kLongOptions[] = {
    {"game", required_argument, nullptr, kGame},
    {"found", required_argument, nullptr, kFound},
    {"codepage", required_argument, nullptr, kCodePage},
    {"hood", required_argument, nullptr, kHood},
    {"yes", no_argument, nullptr, kYes},
    {"seed", required_argument, nullptr, kSeed},
    {"keep-personality", no_argument, nullptr, kKeepPersonality},
    {"no-snapshot", no_argument, nullptr, kNoSnapshot},
    {"trace", no_argument, nullptr, kTrace},
    {"help", no_argument, nullptr, 'h'},
    {"version", no_argument, nullptr, kVersion},
    {nullptr, 0, nullptr, 0},
};

std::optional<int> TakeOption(int key, const char* value, CliOptions& o, std::ostream& out,
                              std::ostream& err) {
    switch (key) {
    case 'h':
        out << kUsage << kHelpDetails;
        return kCliOk;
    case kVersion:
        out << "adultify-cli " << ADULTIFY_VERSION_TEXT << "\n";
        return kCliOk;
    case kYes:
        o.yes = true;
        return std::nullopt;
    case kKeepPersonality:
        o.keepPersonality = true;
        return std::nullopt;
    case kNoSnapshot:
        o.noSnapshot = true;
        return std::nullopt;
    case kTrace:
        o.trace = true;
        return std::nullopt;
    case kGame:
        o.game = value;
        return std::nullopt;
    case kFound: {
        const auto n = WholeNumber(value);
        if (!n || *n < 1 || *n > 9999) return Usage(err, "--found needs a game's number of games");
        o.found = static_cast<int>(*n);
        return std::nullopt;
    }
    case kCodePage: {
        const auto n = WholeNumber(value);
        if (!n || *n < 0 || *n > 65001 || !IsKnownCodePage(static_cast<int>(*n)))
            return Usage(err, "--codepage needs a Windows code page: 874, 932, 936, 949, 950, "
                              "1250 to 1258 or 65001");
        o.codePage = static_cast<int>(*n);
        return std::nullopt;
    }
    case kHood: {
        const auto n = WholeNumber(value);
        if (!n || *n < 1 || *n > 99) return Usage(err, "--hood needs a number from 1 to 99");
        o.hood = static_cast<int>(*n);
        return std::nullopt;
    }
    case kSeed: {
        const auto n = WholeNumber(value);
        if (!n || *n < 0 || *n > 4294967295LL) return Usage(err, "--seed needs a whole number");
        o.seed = static_cast<std::uint32_t>(*n);
        return std::nullopt;
    }
    default:
        return std::nullopt;
    }
}

std::optional<int> CheckCommand(const CliOptions& o, std::ostream& err) {
    for (const CommandShape& s : kCommands) {
        if (o.command != s.name) continue;
        if (o.args.size() != s.args)
            return Usage(err, o.command + " takes " + std::to_string(s.args) + " argument(s)");
        if (s.args > 0 && o.command != "restore") {
            const auto k = WholeNumber(o.args[0]);
            if (!k || *k < 0) return Usage(err, "K must be a line number of List1, counted from 0");
        }
        if (o.command == "skill") {
            if (!SkillRowNamed(o.args[1]))
                return Usage(
                    err, "NAME is one of Cooking, Mechanical, Charisma, Body, Logic, Creativity");
            const auto v = WholeNumber(o.args[2]);
            if (!v || *v < 0 || *v > 1000) return Usage(err, "VALUE runs from 0 to 1000");
        }
        return std::nullopt;
    }
    return Usage(err, "unknown command " + o.command);
}

} // namespace

std::optional<long long> WholeNumber(const std::string& s) {
    long long v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return v;
}

std::optional<int> ParseCliOptions(const std::vector<std::string>& args, CliOptions& o,
                                   std::ostream& out, std::ostream& err) {
    std::vector<std::string> storage;
    storage.reserve(args.size() + 1);
    storage.emplace_back("adultify-cli");
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    argv.reserve(storage.size() + 1);
    for (std::string& a : storage)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const int argc = static_cast<int>(storage.size());

    optind = 0; // a fresh scan on every call: the tests parse many command lines in one process
    opterr = 0; // the front end words its own errors
    // "+": options stop at the command, whose arguments may look like options.
    for (int key; (key = getopt_long(argc, argv.data(), "+h", kLongOptions, nullptr)) != -1;) {
        if (key == '?' || key == ':') {
            const std::string bad = argv[static_cast<std::size_t>(optind - 1)];
            const bool missing = bad.rfind("--", 0) == 0 && optopt != 0;
            return Usage(err, (missing ? "a value is missing after " : "unknown option ") + bad);
        }
        if (auto code = TakeOption(key, optarg, o, out, err)) return code;
    }
    if (o.game && o.found) return Usage(err, "--game and --found each choose the game: give one");
    if (optind >= argc) return Usage(err, "no command");
    o.command = storage[static_cast<std::size_t>(optind)];
    o.args.assign(storage.begin() + optind + 1, storage.end());
    return CheckCommand(o, err);
}

} // namespace adultify
