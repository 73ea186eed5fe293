#include "app/cli_front_end.h"

#include "about/about_windows.h"
#include "ageing/skill_editor.h"
#include "app/form1_events.h"
#include "app/startup.h"
#include "app/utilities.h"
#include "game/game_location.h"
#include "game/neighbourhood_list.h"
#include "game/neighbourhood_name.h"
#include "game/path_dialog.h"
#include "game/save_hood.h"
#include "game/wine_registry.h"
#include "iff/native_file_system.h"
#include "ui/headless/headless_window_system.h"

#ifdef _WIN32
#include "game/windows_registry.h"
#endif

#include <charconv>
#include <memory>
#include <optional>

namespace adultify {

namespace {

constexpr const char* kUsage =
    "usage: adultify-cli [--game DIR] [--hood N] [--yes] [--seed S] [--keep-personality] "
    "[--trace]\n"
    "                    COMMAND [ARGS]\n"
    "commands: hoods | list | show K | adultify K | skill K NAME VALUE | fix-thumbnails K |\n"
    "          body-strings K | save\n";

struct Options {
    std::optional<std::string> game;
    std::optional<int> hood;
    bool yes = false;
    std::optional<std::uint32_t> seed;
    bool keepPersonality = false;
    bool trace = false;
    std::string command;
    std::vector<std::string> args;
};

std::optional<long long> WholeNumber(const std::string& s) {
    long long v = 0;
    const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || end != s.data() + s.size() || s.empty()) return std::nullopt;
    return v;
}

std::string Escaped(std::string_view text) {
    std::string out;
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else
            out += c;
    }
    return out;
}

int Usage(std::ostream& err, const std::string& why) {
    err << "adultify-cli: " << why << "\n" << kUsage;
    return kCliUsage;
}

// Parses the options; answers an exit code when the arguments are wrong.
std::optional<int> Parse(const std::vector<std::string>& args, Options& o, std::ostream& err) {
    std::size_t i = 0;
    for (; i < args.size() && args[i].rfind("--", 0) == 0; ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) return std::nullopt;
            return args[++i];
        };
        if (a == "--help") {
            err << kUsage;
            return kCliOk;
        }
        if (a == "--yes")
            o.yes = true;
        else if (a == "--keep-personality")
            o.keepPersonality = true;
        else if (a == "--trace")
            o.trace = true;
        else if (a == "--game") {
            o.game = value();
            if (!o.game) return Usage(err, "--game needs a folder");
        } else if (a == "--hood") {
            const auto v = value();
            const auto n = v ? WholeNumber(*v) : std::nullopt;
            if (!n || *n < 1 || *n > 99) return Usage(err, "--hood needs a number from 1 to 99");
            o.hood = static_cast<int>(*n);
        } else if (a == "--seed") {
            const auto v = value();
            const auto n = v ? WholeNumber(*v) : std::nullopt;
            if (!n || *n < 0 || *n > 4294967295LL) return Usage(err, "--seed needs a whole number");
            o.seed = static_cast<std::uint32_t>(*n);
        } else {
            return Usage(err, "unknown option " + a);
        }
    }
    if (i >= args.size()) return Usage(err, "no command");
    o.command = args[i++];
    o.args.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    struct Shape {
        const char* name;
        std::size_t args;
    } shapes[] = {{"hoods", 0}, {"list", 0},           {"show", 1},         {"adultify", 1},
                  {"skill", 3}, {"fix-thumbnails", 1}, {"body-strings", 1}, {"save", 0}};
    for (const Shape& s : shapes) {
        if (o.command != s.name) continue;
        if (o.args.size() != s.args)
            return Usage(err, o.command + " takes " + std::to_string(s.args) + " argument(s)");
        if (s.args > 0) {
            const auto k = WholeNumber(o.args[0]);
            if (!k || *k < 0) return Usage(err, "K must be a line number of List1, counted from 0");
        }
        if (o.command == "skill") {
            if (!SkillRowOf(o.args[1]) || o.args[1].rfind("Label", 0) == 0)
                return Usage(
                    err, "NAME is one of Cooking, Mechanical, Charisma, Body, Logic, Creativity");
            const auto v = WholeNumber(o.args[2]);
            if (!v || *v < 0 || *v > 1000) return Usage(err, "VALUE runs from 0 to 1000");
        }
        return std::nullopt;
    }
    return Usage(err, "unknown command " + o.command);
}

class Session {
  public:
    Session(const Options& o, std::ostream& out, std::ostream& err, const EnvironmentLookup& env)
        : o_(o), out_(out), err_(err) {
#ifdef _WIN32
        (void)env;
        registry_ = std::make_unique<WindowsRegistry>();
        fs_ = std::make_unique<NativeFileSystem>();
#else
        const auto prefix = WinePrefix(env);
        auto wine = std::make_unique<WineRegistry>(prefix ? WineRegistry::FromPrefix(*prefix)
                                                          : WineRegistry());
        registry_ = std::move(wine);
        fs_ = std::make_unique<NativeFileSystem>(
            WindowsPathMapper(prefix ? std::optional(*prefix / "dosdevices") : std::nullopt));
#endif
        m_ = std::make_unique<Module1>(ui_, *fs_);
        ui_.answerMessage = [this](const MessageRecord& r) {
            if (r.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
            return o_.yes ? MsgAnswer::Yes : MsgAnswer::No;
        };
        ui_.onMessage = [this](const MessageRecord& r) {
            err_ << "MsgBox " << Escaped(r.title) << ": " << Escaped(r.text);
            if (r.buttons == MsgButtons::YesNo)
                err_ << (r.answer == MsgAnswer::Yes ? " -> Yes" : " -> No");
            err_ << "\n";
        };
        if (o_.trace)
            ui_.onCaption = [this](std::string_view control, std::string_view text) {
                if (control == "Label3") err_ << "Label3: " << Escaped(text) << "\n";
            };
        if (o_.seed) ui_.ForceSeed(*o_.seed);
    }

    int Run() {
        try {
            const int code = Command();
            if (code == kCliOk && m_->failedWrites > 0) return kCliWriteFailed;
            return code;
        } catch (const ProgramEnd&) {
            return kCliFatal;
        }
    }

  private:
    Module1& m() {
        return *m_;
    }

    void Print(std::string_view control) {
        Line(control, ui_.Caption(control));
    }
    void Line(std::string_view control, std::string_view text) {
        out_ << control << ": " << Escaped(text) << "\n";
    }
    void PrintList(std::string_view list) {
        for (const std::string& item : ui_.ListItems(list))
            Line(list, item);
    }
    void PrintPicture(std::string_view box) {
        const HeadlessPicture p = ui_.Picture(box);
        switch (p.kind) {
        case HeadlessPicture::Kind::None:
            Line(box, "unchanged");
            break;
        case HeadlessPicture::Kind::Stock:
            Line(box, "stock");
            break;
        case HeadlessPicture::Kind::Bitmap:
            Line(box, std::to_string(p.width) + "x" + std::to_string(p.height));
            break;
        }
    }
    void PrintSkillValues() {
        for (const char* label : {"Label18", "Label19", "Label20", "Label21", "Label22", "Label23"})
            Print(label);
    }

    int StartUp() {
        FillCareerNames(m());
        m().VersionText = MakeVersionText();
        if (o_.game) {
            if (!AcceptGameFolder(m(), *o_.game)) return kCliNotThere;
        } else {
            m().SimsPath = GetSimsPath(*registry_);
            if (m().SimsPath == kNotFound) {
                (void)ui_.MessageBox(
                    "The Sims Not Found. Please use the path option to set the path to SIMS.EXE",
                    MsgButtons::Ok, MsgIcon::Critical, "No Sims");
                return kCliNotThere;
            }
        }
        if (o_.keepPersonality) ui_.SetChecked("menu_personality", false);
        ui_.SetEnabled("Command1", false);
        ui_.SetEnabled("menu_fix_thumbnails", false);
        FillNeighbourhoodList(m());
        return kCliOk;
    }

    int ChooseHood() {
        int index = 0;
        if (o_.hood) {
            const std::vector<std::string> entries = ui_.ListItems("Combo1");
            const auto it = std::find(entries.begin(), entries.end(), HoodEntryText(*o_.hood));
            if (it == entries.end()) {
                err_ << "adultify-cli: no neighbourhood " << *o_.hood << " in the game folder\n";
                return kCliNotThere;
            }
            index = static_cast<int>(it - entries.begin());
        } else if (ui_.ListCount("Combo1") == 0) {
            err_ << "adultify-cli: the game folder holds no neighbourhood\n";
            return kCliNotThere;
        }
        ui_.ListSelect("Combo1", index);
        (void)DispatchEvent(m(), "Combo1", UiEvent::Click);
        return kCliOk;
    }

    // Selects line K of List1 and clicks it, as a user does before a command.
    int SelectResident() {
        const long long k = *WholeNumber(o_.args[0]);
        if (k >= ui_.ListCount("List1")) {
            err_ << "adultify-cli: no resident " << k << " in List1 (it has "
                 << ui_.ListCount("List1") << " lines)\n";
            return kCliNotThere;
        }
        ui_.ListSelect("List1", static_cast<int>(k));
        (void)DispatchEvent(m(), "List1", UiEvent::Click);
        return kCliOk;
    }

    int Command() {
        if (int code = StartUp(); code != kCliOk) return code;
        if (o_.command == "hoods") {
            PrintList("Combo1");
            return kCliOk;
        }
        if (int code = ChooseHood(); code != kCliOk) return code;
        const std::string& c = o_.command;
        if (c == "list") {
            PrintList("List1");
            return kCliOk;
        }
        if (c == "save") {
            (void)SaveHood(m());
            return kCliOk;
        }
        if (int code = SelectResident(); code != kCliOk) return code;
        if (c == "show") {
            Print("Frame2");
            PrintList("List2");
            for (const char* label : {"Label7", "Label8", "Label9", "Label10", "Label11"})
                Print(label);
            PrintSkillValues();
            Line("Command1", ui_.IsEnabled("Command1") ? "enabled" : "disabled");
            PrintPicture("Picture1");
            PrintPicture("Picture2");
        } else if (c == "adultify") {
            if (!ui_.IsEnabled("Command1")) {
                err_ << "adultify-cli: resident " << o_.args[0]
                     << " is not a child: Command1 is disabled\n";
                return kCliNotThere;
            }
            (void)DispatchEvent(m(), "Command1", UiEvent::Click);
            PrintList("List2");
            PrintList("List1");
        } else if (c == "skill") {
            return Skill();
        } else if (c == "fix-thumbnails") {
            (void)DispatchEvent(m(), "menu_fix_thumbnails", UiEvent::Click);
            PrintPicture("Picture1");
            PrintPicture("Picture2");
        } else if (c == "body-strings") {
            (void)DispatchEvent(m(), "menu_iff", UiEvent::Click);
            PrintList("List2");
        }
        return kCliOk;
    }

    int Skill() {
        const SkillRow& row = *SkillRowOf(o_.args[1]);
        const int value = static_cast<int>(*WholeNumber(o_.args[2]));
        std::string label2, label3, shapes;
        ui_.onModal = [&](std::string_view form) {
            if (form != "Form3") return;
            if (ui_.SetScrollValue("Form3.HScroll1", value))
                (void)DispatchEvent(m(), "Form3.HScroll1", UiEvent::Change);
            label2 = ui_.Caption("Form3.Label2");
            label3 = ui_.Caption("Form3.Label3");
            for (int i = 0; i < 10; ++i)
                shapes += std::to_string(ui_.FillStyle("Form3.Shape2(" + std::to_string(i) + ")"));
            (void)DispatchEvent(m(), "Form3.Command1", UiEvent::Click);
        };
        (void)DispatchEvent(m(), row.captionLabel, UiEvent::Click);
        (void)SaveHood(m());
        Line("Label2", label2);
        Line("Label3", label3);
        Line("Shape2", shapes);
        PrintSkillValues();
        return kCliOk;
    }

    const Options& o_;
    std::ostream& out_;
    std::ostream& err_;
    HeadlessWindowSystem ui_;
    std::unique_ptr<Registry> registry_;
    std::unique_ptr<NativeFileSystem> fs_;
    std::unique_ptr<Module1> m_;
};

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const EnvironmentLookup& env) {
    Options options;
    if (auto code = Parse(args, options, err)) return *code;
    Session session(options, out, err, env);
    return session.Run();
}

} // namespace adultify
