#include "app/cli/cli_options.h"

#include "app/cli/cli_front_end.h"
#include "game/code_page.h"
#include "hood/resident_layout.h"

#include <getopt.h>

#include <algorithm>
#include <charconv>

namespace adultify {

namespace {

constexpr const char* kUsage =
    "usage: adultify-cli [--game DIR | --found N] [--hood N] [--codepage N] [--yes] [--seed S]\n"
    "                    [--keep-personality] [--trace] [--json] COMMAND [ARGS]\n"
    "commands: hoods | list | show K | adultify K [K ...] | skill K NAME VALUE |\n"
    "          fix-thumbnails K | body-strings K | save | residents | snapshots |\n"
    "          restore ID | games | children | grow-up-all [--family NAME]\n";

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
    "  adultify K1 K2 ...  each child in turn as `adultify K` does, then one line per child:\n"
    "                      K, name, `grown up` or `refused: REASON` (tab-separated)\n"
    "  grow-up-all         every child of the neighbourhood in turn, as `adultify K1 K2 ...`;\n"
    "                      --family NAME: only the children of family NAME\n"
    "  children            every child of every neighbourhood, tab-separated: neighbourhood,\n"
    "                      K, family, name\n"
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
    "  --trace             prints every status-line text on standard error\n"
    "  --json              hoods, residents, children, show, games and snapshots print one\n"
    "                      JSON document (keys below)\n"
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
    "     run is editing the game, or a file is unreadable or read-only; for several\n"
    "     children: at least one was refused (the others grew up)\n"
    "\n"
    "JSON keys (texts as UTF-8 strings, numbers as numbers):\n"
    "  hoods      {\"hoods\": [{\"number\", \"entry\"}]}\n"
    "  residents  {\"hood\", \"residents\": [{\"k\", \"age\", \"user_file\", \"name\"}]}\n"
    "  children   {\"children\": [{\"hood\", \"k\", \"family\", \"name\"}]}\n"
    "  show       {\"hood\", \"k\", \"name\", \"frame\", \"details\": [text], \"personality\":\n"
    "             {\"nice\", \"active\", \"playful\", \"outgoing\", \"neat\"}, \"skills\":\n"
    "             {\"cooking\", \"mechanical\", \"charisma\", \"body\", \"logic\",\n"
    "             \"creativity\"}, \"can_grow_up\": true|false, \"picture1\", \"picture2\"}\n"
    "             (a value is a number, null when the view shows none)\n"
    "  games      {\"games\": [{\"number\", \"source\", \"folder\", \"hoods\": [n],\n"
    "             \"code_page\"}]}\n"
    "  snapshots  {\"hood\", \"snapshots\": [{\"id\", \"time\", \"command\", \"resident\",\n"
    "             \"files\": [text]}]}\n";

int Usage(std::ostream& err, const std::string& why) {
    err << "adultify-cli: " << why << "\n" << kUsage;
    return kCliUsage;
}

struct CommandShape {
    const char* name;
    std::size_t args;
    bool more = false; // takes further K after the first
};
constexpr CommandShape kCommands[] = {
    {"hoods", 0},     {"list", 0},           {"show", 1},         {"adultify", 1, true},
    {"skill", 3},     {"fix-thumbnails", 1}, {"body-strings", 1}, {"save", 0},
    {"snapshots", 0}, {"restore", 1},        {"residents", 0},    {"games", 0},
    {"children", 0},  {"grow-up-all", 0}};

enum OptionKey {
    kGame = 256,
    kFound,
    kHood,
    kCodePage,
    kYes,
    kSeed,
    kKeepPersonality,
    kTrace,
    kVersion,
    kJson,
    kFamily
};
constexpr option kLongOptions[] = {
    {"game", required_argument, nullptr, kGame},
    {"found", required_argument, nullptr, kFound},
    {"codepage", required_argument, nullptr, kCodePage},
    {"hood", required_argument, nullptr, kHood},
    {"yes", no_argument, nullptr, kYes},
    {"seed", required_argument, nullptr, kSeed},
    {"keep-personality", no_argument, nullptr, kKeepPersonality},
    {"trace", no_argument, nullptr, kTrace},
    {"json", no_argument, nullptr, kJson},
    {"family", required_argument, nullptr, kFamily},
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
    case kTrace:
        o.trace = true;
        return std::nullopt;
    case kJson:
        o.json = true;
        return std::nullopt;
    case kFamily:
        o.family = value;
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

// Each K a line number, none twice.
std::optional<int> CheckLines(const CliOptions& o, const CommandShape& s, std::ostream& err) {
    const std::size_t ks = s.more ? o.args.size() : 1;
    for (std::size_t i = 0; i < ks; ++i) {
        const auto k = WholeNumber(o.args[i]);
        if (!k || *k < 0) return Usage(err, "K must be a line number of List1, counted from 0");
        const auto before = o.args.begin() + static_cast<long>(i);
        if (std::find(o.args.begin(), before, o.args[i]) != before)
            return Usage(err, "K " + o.args[i] + " is given twice");
    }
    return std::nullopt;
}

// The options that go with some commands only.
std::optional<int> CheckOptionsFit(const CliOptions& o, std::ostream& err) {
    if (o.family && o.command != "grow-up-all") return Usage(err, "--family goes with grow-up-all");
    static constexpr std::string_view kJsonCommands[] = {"hoods", "residents", "children",
                                                         "show",  "games",     "snapshots"};
    if (o.json && std::find(std::begin(kJsonCommands), std::end(kJsonCommands), o.command) ==
                      std::end(kJsonCommands))
        return Usage(err, "--json goes with hoods, residents, children, show, games or snapshots");
    return std::nullopt;
}

std::optional<int> CheckCommand(const CliOptions& o, std::ostream& err) {
    for (const CommandShape& s : kCommands) {
        if (o.command != s.name) continue;
        if (o.args.size() != s.args && !(s.more && o.args.size() > s.args))
            return Usage(err, o.command + " takes " + std::to_string(s.args) + " argument(s)");
        if (s.args > 0 && o.command != "restore")
            if (auto code = CheckLines(o, s, err)) return code;
        if (auto code = CheckOptionsFit(o, err)) return code;
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
    // Options may stand anywhere; "--" ends them.
    for (int key; (key = getopt_long(argc, argv.data(), "h", kLongOptions, nullptr)) != -1;) {
        if (key == '?' || key == ':') {
            const std::string bad = argv[static_cast<std::size_t>(optind - 1)];
            const bool missing = bad.rfind("--", 0) == 0 && optopt != 0;
            return Usage(err, (missing ? "a value is missing after " : "unknown option ") + bad);
        }
        if (auto code = TakeOption(key, optarg, o, out, err)) return code;
    }
    if (o.game && o.found) return Usage(err, "--game and --found each choose the game: give one");
    if (optind >= argc) return Usage(err, "no command");
    // getopt moved the options before the command and its arguments, in argv only.
    o.command = argv[static_cast<std::size_t>(optind)];
    o.args.assign(argv.begin() + optind + 1, argv.begin() + argc);
    return CheckCommand(o, err);
}

} // namespace adultify
