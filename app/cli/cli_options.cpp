#include "app/cli/cli_options.h"

#include "app/cli/cli_front_end.h"
#include "hood/resident_layout.h"
#include "install/code_page.h"

#include <algorithm>
#include <charconv>
#include <optional>
#include <type_traits>

namespace adultify {

namespace {

constexpr std::size_t kUsageWidth = 90;
constexpr std::size_t kHelpColumn = 20; // where a command's or option's help line starts

using OptionResult = std::optional<int>; // an exit code when the run ends here

struct CliOption {
    std::string_view name;     // "--hood"; "-h" and "/?" are other names of the next row
    std::string_view value;    // the value's name, empty for a flag
    std::string_view synopsis; // in the usage line; empty: not shown there
    std::string_view help;     // in --help; empty: not listed
    OptionResult (*take)(const std::string& value, CliOptions&, std::ostream& out,
                         std::ostream& err);
};

OptionResult Usage(std::ostream& err, const std::string& why);

// A whole number from `low` to `high` for the option `Field`, else the usage error `why`.
template <auto Field>
OptionResult Number(const std::string& value, long long low, long long high, CliOptions& o,
                    std::ostream& err, const char* why) {
    const auto n = WholeNumber(value);
    if (!n || *n < low || *n > high) return Usage(err, why);
    using Value = typename std::remove_reference_t<decltype(o.*Field)>::value_type;
    o.*Field = static_cast<Value>(*n);
    return std::nullopt;
}

// A flag: the option `Field` is on.
template <auto Field>
OptionResult Flag(const std::string&, CliOptions& o, std::ostream&, std::ostream&) {
    o.*Field = true;
    return std::nullopt;
}

// A text: the option `Field` is the value as given.
template <auto Field>
OptionResult Text(const std::string& value, CliOptions& o, std::ostream&, std::ostream&) {
    o.*Field = value;
    return std::nullopt;
}

OptionResult Help(const std::string&, CliOptions&, std::ostream& out, std::ostream&);

constexpr CliOption kOptions[] = {
    {"--game", "DIR", "[--game DIR | --found N]",
     "the game folder (holding Sims.exe) instead of the one found", Text<&CliOptions::game>},
    {"--found", "N", "", "the Nth game of `games` instead of the first",
     [](const std::string& v, CliOptions& o, std::ostream&, std::ostream& err) {
         return Number<&CliOptions::found>(v, 1, 9999, o, err,
                                           "--found needs a game's number of games");
     }},
    {"--hood", "N", "[--hood N]", "neighbourhood N instead of the first",
     [](const std::string& v, CliOptions& o, std::ostream&, std::ostream& err) {
         return Number<&CliOptions::hood>(v, 1, 99, o, err, "--hood needs a number from 1 to 99");
     }},
    {"--codepage", "N", "[--codepage N]", "reads the names in Windows code page N",
     [](const std::string& v, CliOptions& o, std::ostream&, std::ostream& err) -> OptionResult {
         const auto n = WholeNumber(v);
         if (!n || *n < 0 || *n > 65001 || !IsKnownCodePage(static_cast<int>(*n)))
             return Usage(err, "--codepage needs a Windows code page: 874, 932, 936, 949, 950, "
                               "1250 to 1258 or 65001");
         o.codePage = static_cast<int>(*n);
         return std::nullopt;
     }},
    {"--yes", "", "[--yes]", "answers Yes to every question (otherwise No)",
     Flag<&CliOptions::yes>},
    {"--seed", "S", "[--seed S]", "repeats the personality draw of an earlier run",
     [](const std::string& v, CliOptions& o, std::ostream&, std::ostream& err) {
         return Number<&CliOptions::seed>(v, 0, 4294967295LL, o, err,
                                          "--seed needs a whole number");
     }},
    {"--keep-personality", "", "[--keep-personality]", "adultify keeps the personality",
     Flag<&CliOptions::keepPersonality>},
    {"--no-snapshot", "", "[--no-snapshot]", "writes without taking a snapshot first",
     Flag<&CliOptions::noSnapshot>},
    {"--trace", "", "[--trace]", "prints every status-line text on standard error",
     Flag<&CliOptions::trace>},
    {"--family", "NAME", "", "grow-up-all: only the children of family NAME",
     Text<&CliOptions::family>},
    {"--json", "", "[--json]",
     "hoods, residents, children, show, games and snapshots print one\nJSON document (keys below)",
     Flag<&CliOptions::json>},
    {"--version", "", "", "the program's version",
     [](const std::string&, CliOptions&, std::ostream& out, std::ostream&) -> OptionResult {
         out << "adultify-cli " << ADULTIFY_VERSION_TEXT << "\n";
         return kCliOk;
     }},
    {"--help", "", "", "", Help},
};

// Other spellings of an option: -h everywhere, /? where Windows programs take it.
const CliOption* FindOption(std::string_view name) {
    if (name == "-h" || (kSlashHelp && name == "/?")) name = "--help";
    for (const CliOption& option : kOptions)
        if (option.name == name) return &option;
    return nullptr;
}

// Words joined by `separator`, a line broken before the word that would pass the usage width.
std::string Wrapped(std::string line, std::string_view separator, std::string_view indent,
                    const std::vector<std::string>& words) {
    auto trimmed = [](std::string s) {
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return s;
    };
    std::string text;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string word = words[i] + (i + 1 == words.size() ? "" : std::string(separator));
        if (i > 0 && trimmed(line + word).size() > kUsageWidth) {
            text += trimmed(line) + "\n";
            line = indent;
        }
        line += word;
    }
    return text + line + "\n";
}

std::string CommandSynopsis(const CliCommand& c) {
    return c.arguments.empty() ? std::string(c.name)
                               : std::string(c.name) + " " + std::string(c.arguments);
}

std::string UsageText() {
    std::vector<std::string> options;
    for (const CliOption& option : kOptions)
        if (!option.synopsis.empty()) options.emplace_back(option.synopsis);
    options.emplace_back("COMMAND [ARGS]");
    std::vector<std::string> commands;
    for (const CliCommand& c : CliCommands())
        commands.push_back(CommandSynopsis(c));
    return Wrapped("usage: adultify-cli ", " ", std::string(20, ' '), options) +
           Wrapped("commands: ", " | ", std::string(10, ' '), commands);
}

// "  left                help", a "\n" in the help continuing under its first line.
std::string HelpLine(const std::string& left, std::string_view help) {
    std::string line = "  " + left;
    line += std::string(left.size() < kHelpColumn ? kHelpColumn - left.size() : 2, ' ');
    for (char c : help)
        line += c == '\n' ? "\n" + std::string(kHelpColumn + 2, ' ') : std::string(1, c);
    return line + "\n";
}

constexpr const char* kHelpIntro =
    "\n"
    "Edits the saved neighbourhoods of The Sims (2000) without windows; close the game first.\n"
    "K is a resident's line number in `list`, counted from 0.\n"
    "\n"
    "commands:\n";

constexpr const char* kExitStatuses =
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
    "     can be kept (see --no-snapshot); for several children: every one was refused\n"
    "  6  several children: some grew up, the others were refused (the lines say which)\n"
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

OptionResult Help(const std::string&, CliOptions&, std::ostream& out, std::ostream&) {
    out << UsageText() << kHelpIntro;
    for (const CliCommand& c : CliCommands())
        out << HelpLine(CommandSynopsis(c), c.help);
    out << "\noptions:\n";
    for (const CliOption& option : kOptions) {
        if (option.help.empty()) continue;
        // Appended, not joined with +: MinGW's GCC 12 at -O3 takes that for an overlapping copy.
        std::string synopsis(option.name);
        if (!option.value.empty()) synopsis.append(" ").append(option.value);
        out << HelpLine(synopsis, option.help);
    }
    out << kExitStatuses;
    return kCliOk;
}

OptionResult Usage(std::ostream& err, const std::string& why) {
    err << "adultify-cli: " << why << "\n" << UsageText();
    return kCliUsage;
}

// Each argument is checked by its name in the command's row.
OptionResult CheckArgument(std::string_view name, const std::string& value, std::ostream& err) {
    if (name == "K") {
        const auto k = WholeNumber(value);
        if (!k || *k < 0) return Usage(err, "K must be a line number of List1, counted from 0");
    } else if (name == "NAME") {
        if (!SkillRowNamed(value))
            return Usage(err,
                         "NAME is one of Cooking, Mechanical, Charisma, Body, Logic, Creativity");
    } else if (name == "VALUE") {
        const auto v = WholeNumber(value);
        if (!v || *v < 0 || *v > 1000) return Usage(err, "VALUE runs from 0 to 1000");
    }
    return std::nullopt;
}

// The options that go with some commands only.
OptionResult CheckOptionsFit(const std::string& name, const CliOptions& o, std::ostream& err) {
    if (o.family && name != "grow-up-all") return Usage(err, "--family goes with grow-up-all");
    if (o.json && !o.command->json)
        return Usage(err, "--json goes with hoods, residents, children, show, games or snapshots");
    return std::nullopt;
}

OptionResult CheckCommand(const std::string& name, const CliOptions& o, std::ostream& err) {
    if (!o.command) return Usage(err, "unknown command " + name);
    const std::size_t count = ArgumentCount(*o.command);
    if (o.args.size() != count && !(TakesMore(*o.command) && o.args.size() > count))
        return Usage(err, name + " takes " + std::to_string(count) + " argument(s)");
    std::string_view names = o.command->arguments;
    std::string_view last;
    for (std::size_t i = 0; i < o.args.size(); ++i) {
        // Further arguments are of the last one's kind, each given once.
        const std::size_t end = std::min(names.find(' '), names.size());
        if (i < count) last = names.substr(0, end);
        if (auto bad = CheckArgument(last, o.args[i], err)) return bad;
        names.remove_prefix(std::min(end + 1, names.size()));
        const auto before = o.args.begin() + static_cast<long>(i);
        if (i >= count && std::find(o.args.begin(), before, o.args[i]) != before)
            return Usage(err, last == "K" ? "K " + o.args[i] + " is given twice"
                                          : o.args[i] + " is given twice");
    }
    return CheckOptionsFit(name, o, err);
}

// One option at args[i], with its value when it takes one ("--hood 3" or "--hood=3").
OptionResult TakeOption(const std::vector<std::string>& args, std::size_t& i, CliOptions& o,
                        std::ostream& out, std::ostream& err) {
    const std::string& arg = args[i];
    const std::size_t equals = arg.rfind("--", 0) == 0 ? arg.find('=') : std::string::npos;
    const CliOption* option = FindOption(std::string_view(arg).substr(0, equals));
    if (!option || (option->value.empty() && equals != std::string::npos))
        return Usage(err, "unknown option " + arg);
    if (option->value.empty()) return option->take({}, o, out, err);
    if (equals != std::string::npos) return option->take(arg.substr(equals + 1), o, out, err);
    if (++i == args.size()) return Usage(err, "a value is missing after " + arg);
    return option->take(args[i], o, out, err);
}

bool LooksLikeOption(const std::string& arg) {
    return (arg.size() > 1 && arg[0] == '-') || (kSlashHelp && arg == "/?");
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
    std::vector<std::string> words; // the command and its arguments
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (optionsEnded || !LooksLikeOption(args[i])) {
            words.push_back(args[i]);
        } else if (args[i] == "--") {
            optionsEnded = true;
        } else if (auto code = TakeOption(args, i, o, out, err)) {
            return code;
        }
    }
    if (o.game && o.found) return Usage(err, "--game and --found each choose the game: give one");
    if (words.empty()) return Usage(err, "no command");
    o.command = FindCliCommand(words[0]);
    o.args.assign(words.begin() + 1, words.end());
    return CheckCommand(words[0], o, err);
}

} // namespace adultify
