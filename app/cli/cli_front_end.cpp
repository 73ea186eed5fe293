#include "app/cli/cli_front_end.h"

#include "about/about_windows.h"
#include "app/cli/cli_commands.h"
#include "app/cli/cli_options.h"
#include "app/cli/json_writer.h"
#include "app/cli/terminal_text.h"
#include "app/form1_events.h"
#include "app/found_games.h"
#include "app/grow_up.h"
#include "app/startup.h"
#include "core/clock.h"
#include "game/game_text.h"
#include "game/game_writes.h"
#include "game/neighbourhood_list.h"
#include "game/neighbourhood_name.h"
#include "game/path_dialog.h"
#include "game/save_hood.h"
#include "game/snapshots.h"
#include "hood/resident_layout.h"
#include "hood/resident_view.h"
#include "ui/headless/headless_window_system.h"

#include <algorithm>
#include <array>
#include <exception>
#include <memory>
#include <span>

namespace adultify {

namespace {

// The skill dialog as the user saw it when accepting.
struct SkillDialogSeen {
    std::string label2, label3, shapes;
};

} // namespace

class CliSession {
  public:
    CliSession(const CliOptions& o, std::ostream& out, std::ostream& err, Platform platform)
        : o_(o), out_(out), err_(err), platform_(std::move(platform)),
          m_(ui_, *platform_.files, clock_) {
        // Never Cancel: each command does what it was asked, or says why not.
        ui_.answerMessage = [this](const MessageRecord& r) {
            if (r.buttons == MsgButtons::Ok) return MsgAnswer::Ok;
            return o_.yes ? MsgAnswer::Yes : MsgAnswer::No;
        };
        ui_.onMessage = [this](const MessageRecord& r) {
            err_ << "MsgBox " << TerminalText(r.title) << ": " << TerminalText(r.text);
            if (r.buttons != MsgButtons::Ok)
                err_ << (r.answer == MsgAnswer::Yes  ? " -> Yes"
                         : r.answer == MsgAnswer::No ? " -> No"
                                                     : " -> Cancel");
            err_ << "\n";
        };
        if (o_.trace)
            ui_.onCaption = [this](ControlId control, std::string_view text) {
                if (control == "Label3") err_ << "Label3: " << TerminalText(text) << "\n";
            };
        if (o_.seed) m_.random.Force(*o_.seed);
        m_.game.snapshotRoot = platform_.snapshotRoot;
        m_.game.snapshotsUnavailable = !platform_.snapshotRoot;
        m_.game.writeWithoutSnapshot = o_.noSnapshot;
        m_.findRunningGame = platform_.findRunningGame;
    }

    int Run(const CliCommand& command) {
        try {
            const int code = Prepare(command.needs);
            if (code != kCliOk) return code;
            return Outcome(command.run(*this));
        } catch (const ProgramEnd&) {
            return kCliFatal;
        } catch (const std::exception& fault) {
            ShowUnexpectedFault(m_, fault.what());
            return kCliFatal;
        }
    }

    // The table of commands: its handlers reach the session's own steps.
    static std::span<const CliCommand> Commands();

  private:
    void Print(ControlId control) { Line(control.Name(), ui_.Caption(control)); }
    void Line(std::string_view name, std::string_view text) {
        out_ << name << ": " << TerminalText(text) << "\n";
    }
    void PrintList(ControlId list) {
        for (const std::string& item : ui_.ListItems(list))
            Line(list.Name(), item);
    }
    static std::string PictureText(const HeadlessPicture& p) {
        switch (p.kind) {
        case HeadlessPicture::Kind::Stock: return "stock";
        case HeadlessPicture::Kind::Bitmap:
            return std::to_string(p.width) + "x" + std::to_string(p.height);
        case HeadlessPicture::Kind::None: break;
        }
        return "unchanged";
    }
    void PrintPicture(ControlId box) { Line(box.Name(), PictureText(ui_.Picture(box))); }
    void PrintSkillValues() {
        for (const SkillRow& row : kSkillRows)
            Print(row.valueLabel);
    }

    // The install search only when the game is not given: a game folder given is used as is.
    void FindGames() {
        if (!o_.game) shelf_ = SearchGames(platform_);
        shelf_.codePage = o_.codePage;
        ShowFoundGames(m_, shelf_);
    }

    int UseGame() {
        if (o_.game) {
            if (!AcceptGameFolder(m_, *o_.game)) return kCliNotThere;
            UseChosenFolder(m_, shelf_);
        } else if (o_.found) {
            if (!UseFoundGame(m_, shelf_, &platform_, static_cast<std::size_t>(*o_.found - 1))) {
                err_ << "adultify-cli: no game " << *o_.found << " (games lists "
                     << shelf_.games.size() << ")\n";
                return kCliNotThere;
            }
        } else if (!FindGameFolder(run())) {
            err_ << "adultify-cli: give the game folder with --game DIR\n"; // its "path option"
            return kCliNotThere;
        }
        return kCliOk;
    }

    // One line per game found: number, source, game folder, neighbourhoods, code page.
    int ListGames() {
        shelf_ = SearchGames(platform_);
        if (shelf_.games.empty()) {
            err_ << "adultify-cli: no game found in the registry, the folders chosen before, the "
                    "re-release's save folder, Steam, Bottles, Lutris, Heroic or Wine prefixes; "
                    "give the game folder with --game DIR\n";
            return kCliNotThere;
        }
        if (o_.json) return GamesJson();
        std::size_t n = 0;
        for (const FoundGame& g : shelf_.games) {
            std::string hoods;
            for (int h : g.hoods) {
                if (!hoods.empty()) hoods += ',';
                hoods += std::to_string(h);
            }
            out_ << ++n << '\t' << SourceName(g.source) << '\t' << TerminalText(g.gameFolder)
                 << '\t' << hoods << '\t' << o_.codePage.value_or(g.codePage) << '\n';
        }
        return kCliOk;
    }

    int GamesJson() {
        JsonWriter j(out_);
        j.BeginObject().Key("games").BeginArray();
        std::size_t n = 0;
        for (const FoundGame& g : shelf_.games) {
            j.BeginObject().Field("number", ++n).Field("source", SourceName(g.source));
            j.Field("folder", g.gameFolder).Key("hoods").BeginArray();
            for (int h : g.hoods)
                j.Number(h);
            j.EndArray().Field("code_page", o_.codePage.value_or(g.codePage)).EndObject();
        }
        j.EndArray().EndObject();
        return kCliOk;
    }

    int StartUp(CommandNeeds needs) {
        FillCareerNames(m_);
        m_.editing.VersionText = MakeVersionText();
        FindGames();
        if (int code = UseGame(); code != kCliOk) return code;
        RecoverInterruptedSave(m_);
        if (o_.keepPersonality) ui_.SetChecked("menu_personality", false);
        ClearResidentView(m_);
        // A command of one neighbourhood looks at no other: a game holds up to 99.
        if (needs == CommandNeeds::Game || !ListOneNeighbourhood(m_, o_.hood))
            FillNeighbourhoodList(m_);
        return kCliOk;
    }

    // Selects the neighbourhood in Combo1; `read` clicks it, reading its residents.
    int ChooseHood(bool read) {
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
        if (read) (void)DispatchEvent(run(), "Combo1", UiEvent::Click);
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
        (void)DispatchEvent(run(), "List1", UiEvent::Click);
        return kCliOk;
    }

    // The steps a command needs before its handler runs.
    int Prepare(CommandNeeds needs) {
        if (needs == CommandNeeds::Nothing) return kCliOk;
        if (int code = StartUp(needs); code != kCliOk) return code;
        if (needs == CommandNeeds::Game) return kCliOk;
        if (int code = ChooseHood(needs != CommandNeeds::HoodChosen); code != kCliOk) return code;
        if (needs == CommandNeeds::Hood || needs == CommandNeeds::HoodChosen) return kCliOk;
        return SelectResident();
    }

    // A command that ran to its end still reports a failed or refused write.
    int Outcome(int code) const {
        if (code != kCliOk) return code;
        if (m_.outcomes.failedWrites > 0) return kCliWriteFailed;
        // A refusal met on the way (a file left out of the list) does not undo a write.
        return m_.outcomes.refusals > 0 && m_.outcomes.filesChanged == 0 ? kCliRefused : kCliOk;
    }

    int PrintAll(ControlId list) {
        PrintList(list);
        return kCliOk;
    }

    int Adultify() {
        if (o_.args.size() > 1) return GrowUpLines();
        if (!ui_.IsEnabled("Command1")) {
            err_ << "adultify-cli: resident " << o_.args[0]
                 << " is not a child: Command1 is disabled\n";
            return kCliNotThere;
        }
        (void)DispatchEvent(run(), "Command1", UiEvent::Click);
        PrintList("List2");
        PrintList("List1");
        return kCliOk;
    }

    int FixThumbnails() {
        (void)DispatchEvent(run(), "menu_fix_thumbnails", UiEvent::Click);
        PrintPicture("Picture1");
        PrintPicture("Picture2");
        return kCliOk;
    }

    int BodyStrings() {
        (void)DispatchEvent(run(), "menu_iff", UiEvent::Click);
        PrintList("List2");
        return kCliOk;
    }

    int Save() {
        (void)SaveHood(m_);
        return kCliOk;
    }

    int ListSnapshotsOfHood() {
        std::vector<SnapshotInfo> all;
        if (m_.game.snapshotRoot)
            all = ListSnapshots(*m_.game.snapshotRoot, NativeFile(m_, m_.game.SimsPath),
                                ChosenHood(m_));
        if (o_.json) return SnapshotsJson(all);
        std::string line, files; // kept from line to line, so that each is allocated once
        for (const SnapshotInfo& s : all) {
            files.clear();
            for (const std::string& f : s.files)
                files.append(files.empty() ? "" : ",").append(f);
            // The Sim's name last, so that the columns before it stay where scripts read them.
            line.assign(s.id).append(1, '\t').append(s.time);
            for (const std::string* field :
                 std::array<const std::string*, 4>{&s.command, &s.resident, &files, &s.name})
                AppendTerminalText(line.append(1, '\t'), *field);
            out_ << line << '\n';
        }
        return kCliOk;
    }

    int SnapshotsJson(const std::vector<SnapshotInfo>& all) {
        JsonWriter j(out_);
        j.BeginObject().Field("hood", ChosenHood(m_)).Key("snapshots").BeginArray();
        for (const SnapshotInfo& s : all) {
            j.BeginObject().Field("id", s.id).Field("time", s.time);
            j.Field("command", s.command).Field("resident", s.resident);
            j.Key("files").BeginArray();
            for (const std::string& f : s.files)
                j.String(f);
            j.EndArray().Field("name", s.name).EndObject();
        }
        j.EndArray().EndObject();
        return kCliOk;
    }

    int ListHoods() {
        if (!o_.json) return PrintAll("Combo1");
        JsonWriter j(out_);
        j.BeginObject().Key("hoods").BeginArray();
        for (const std::string& entry : ui_.ListItems("Combo1"))
            j.BeginObject().Field("number", HoodNumber(entry)).Field("entry", entry).EndObject();
        j.EndArray().EndObject();
        return kCliOk;
    }

    int ListChildren() {
        const std::vector<ChildLine> all = EveryChild(m_);
        if (!o_.json) {
            for (const ChildLine& c : all)
                out_ << c.hood << '\t' << c.k << '\t' << TerminalText(c.family) << '\t'
                     << TerminalText(c.name) << '\n';
            return kCliOk;
        }
        JsonWriter j(out_);
        j.BeginObject().Key("children").BeginArray();
        for (const ChildLine& c : all)
            j.BeginObject()
                .Field("hood", c.hood)
                .Field("k", c.k)
                .Field("family", c.family)
                .Field("name", c.name)
                .EndObject();
        j.EndArray().EndObject();
        return kCliOk;
    }

    int GrowUpAll() {
        std::vector<int> lines;
        for (const ChildLine& c : ChildrenShown(m_, o_.family))
            lines.push_back(c.k);
        if (lines.empty() && o_.family) {
            err_ << "adultify-cli: no child of family " << *o_.family << " in the neighbourhood\n";
            return kCliNotThere;
        }
        return GrowUp(lines);
    }

    // Every K is there and a child before any grows up.
    int GrowUpLines() {
        std::vector<int> lines;
        for (const std::string& arg : o_.args) {
            const long long k = *WholeNumber(arg);
            if (k >= ui_.ListCount("List1") ||
                AgeText(m_.hood.People[static_cast<std::size_t>(k)]) != "Child") {
                err_ << "adultify-cli: resident " << arg << " is not a child in List1\n";
                return kCliNotThere;
            }
            lines.push_back(static_cast<int>(k));
        }
        return GrowUp(lines);
    }

    // Each as a single `adultify K` runs, then a line for each.
    int GrowUp(const std::vector<int>& lines) {
        std::vector<std::pair<std::string, GrowUpOutcome>> done;
        for (int k : lines) {
            std::string name = ui_.ListItem("List1", k);
            done.emplace_back(std::move(name), GrowUpLine(m_, k, false));
        }
        std::size_t grown = 0;
        for (std::size_t i = 0; i < done.size(); ++i) {
            const GrowUpOutcome& r = done[i].second;
            if (r.grown) ++grown;
            out_ << lines[i] << '\t' << TerminalText(done[i].first) << '\t'
                 << (r.grown ? "grown up" : "refused: " + TerminalText(r.reason)) << '\n';
        }
        if (m_.outcomes.failedWrites > 0) return kCliWriteFailed;
        // 5 stays "nothing changed": a run where some grew up and some were refused is 6.
        if (grown == done.size()) return kCliOk;
        return grown == 0 ? kCliRefused : kCliPartlyDone;
    }

    // One line per List1 line: K, the age, the user file as stored, the line's text.
    int ListResidents() {
        const int count = ui_.ListCount("List1");
        if (o_.json) return ResidentsJson();
        for (int k = 0; k < count; ++k) {
            const PersonRecord& r = m_.hood.People[static_cast<std::size_t>(k)];
            out_ << k << '\t' << AgeText(r) << '\t' << TerminalText(DecodeName(m_.game, r.UserFile))
                 << '\t' << TerminalText(ui_.ListItem("List1", k)) << '\n';
        }
        return kCliOk;
    }

    int ResidentsJson() {
        JsonWriter j(out_);
        j.BeginObject().Field("hood", ChosenHood(m_)).Key("residents").BeginArray();
        for (int k = 0; k < ui_.ListCount("List1"); ++k) {
            const PersonRecord& r = m_.hood.People[static_cast<std::size_t>(k)];
            j.BeginObject().Field("k", k).Field("age", AgeText(r));
            j.Field("user_file", DecodeName(m_.game, r.UserFile));
            j.Field("name", ui_.ListItem("List1", k)).EndObject();
        }
        j.EndArray().EndObject();
        return kCliOk;
    }

    int Restore() {
        const std::string& id = o_.args[0];
        if (!m_.game.snapshotRoot || !FindSnapshot(*m_.game.snapshotRoot, id)) {
            err_ << "adultify-cli: no snapshot " << id << " (adultify-cli snapshots lists them)\n";
            return kCliNotThere;
        }
        (void)RestoreFromSnapshot(m_, id); // a failure is counted for the exit code
        return kCliOk;
    }

    int Show() {
        if (o_.json) return ShowJson();
        Print("Frame2");
        PrintList("List2");
        for (ControlId label : kValueLabels)
            Print(label);
        Line("Command1", ui_.IsEnabled("Command1") ? "enabled" : "disabled");
        PrintPicture("Picture1");
        PrintPicture("Picture2");
        return kCliOk;
    }

    // A value label's number; null when it shows none.
    void LabelValue(JsonWriter& j, std::string_view key, ControlId label) {
        j.Key(key);
        if (const auto n = WholeNumber(ui_.Caption(label)))
            j.Number(*n);
        else
            j.Null();
    }

    int ShowJson() {
        static constexpr std::array<std::string_view, kTraitRows.size()> kTraitKeys = {
            "nice", "active", "playful", "outgoing", "neat"};
        const int k = SelectedResident(m_);
        JsonWriter j(out_);
        j.BeginObject().Field("hood", ChosenHood(m_)).Field("k", k);
        j.Field("name", ui_.ListItem("List1", k)).Field("frame", ui_.Caption("Frame2"));
        j.Key("details").BeginArray();
        for (const std::string& line : ui_.ListItems("List2"))
            j.String(line);
        j.EndArray().Key("personality").BeginObject();
        for (std::size_t t = 0; t < kTraitRows.size(); ++t)
            LabelValue(j, kTraitKeys[t], kTraitRows[t].valueLabel);
        j.EndObject().Key("skills").BeginObject();
        for (const SkillRow& row : kSkillRows) {
            std::string key(row.name);
            for (char& c : key)
                c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
            LabelValue(j, key, row.valueLabel);
        }
        j.EndObject().Field("can_grow_up", ui_.IsEnabled("Command1"));
        j.Field("picture1", PictureText(ui_.Picture("Picture1")));
        j.Field("picture2", PictureText(ui_.Picture("Picture2"))).EndObject();
        return kCliOk;
    }

    int Skill() {
        const SkillRow& row = *SkillRowNamed(o_.args[1]);
        const int value = static_cast<int>(*WholeNumber(o_.args[2]));
        SkillDialogSeen seen;
        ui_.onModal = [this, value, &seen](FormId form) {
            if (form != FormId("Form3")) return;
            if (ui_.SetScrollValue("Form3.HScroll1", value))
                (void)DispatchEvent(run(), "Form3.HScroll1", UiEvent::Change);
            seen.label2 = ui_.Caption("Form3.Label2");
            seen.label3 = ui_.Caption("Form3.Label3");
            for (ControlId box : kShape2)
                seen.shapes += std::to_string(ui_.FillStyle(box));
            (void)DispatchEvent(run(), "Form3.Command1", UiEvent::Click);
        };
        (void)DispatchEvent(run(), row.captionLabel, UiEvent::Click);
        ui_.onModal = nullptr; // `seen` ends with this call
        (void)SaveHood(m_);
        Line("Label2", seen.label2);
        Line("Label3", seen.label3);
        Line("Shape2", seen.shapes);
        PrintSkillValues();
        return kCliOk;
    }

    RunState run() { return RunState(m_, shelf_, &platform_); }

    const CliOptions& o_;
    std::ostream& out_;
    std::ostream& err_;
    Platform platform_;
    HeadlessWindowSystem ui_;
    ManualClock clock_;
    Module1 m_;
    GameShelf shelf_;
};

std::span<const CliCommand> CliSession::Commands() {
    using S = CliSession;
    using enum CommandNeeds;
    // In the order --help lists them.
    static constexpr CliCommand kCommands[] = {
        {"hoods", "", Game, "the neighbourhoods of the game folder",
         [](S& s) { return s.ListHoods(); }, true},
        {"list", "", Hood, "the residents of the neighbourhood",
         [](S& s) { return s.PrintAll("List1"); }},
        {"residents", "", Hood, "the residents, tab-separated: K, age, user file, name",
         [](S& s) { return s.ListResidents(); }, true},
        {"show", "K", Resident, "everything the editor shows of resident K",
         [](S& s) { return s.Show(); }, true},
        {"adultify", "K [K ...]", Resident,
         "turns child K into an adult and saves, with a backup; several K:\n"
         "each in turn as one K does, then a line for each, tab-separated:\n"
         "K, name, `grown up` or `refused: REASON`",
         [](S& s) { return s.Adultify(); }},
        {"grow-up-all", "[--family NAME]", Hood,
         "every child of the neighbourhood (of family NAME) in turn, as\n"
         "adultify K1 K2 ... does",
         [](S& s) { return s.GrowUpAll(); }},
        {"children", "", Game,
         "every child of every neighbourhood, tab-separated: neighbourhood,\n"
         "K, family, name",
         [](S& s) { return s.ListChildren(); }, true},
        {"skill", "K NAME VALUE", Resident,
         "sets skill NAME (Cooking, Mechanical, Charisma, Body, Logic,\n"
         "Creativity) of resident K to VALUE (0 to 1000) and saves",
         [](S& s) { return s.Skill(); }},
        {"fix-thumbnails", "K", Resident,
         "removes the stored thumbnails from resident K's character file",
         [](S& s) { return s.FixThumbnails(); }},
        {"body-strings", "K", Resident, "lists the body strings of resident K's character file",
         [](S& s) { return s.BodyStrings(); }},
        {"save", "", Hood, "saves the neighbourhood, keeping the old file as a backup",
         [](S& s) { return s.Save(); }},
        {"snapshots", "", HoodChosen,
         "the copies taken before each write: ID, time, command,\n"
         "resident, files, the Sim's name (tab-separated)",
         [](S& s) { return s.ListSnapshotsOfHood(); }, true},
        {"restore", "ID", HoodChosen, "puts snapshot ID's files back (taking a snapshot first)",
         [](S& s) { return s.Restore(); }},
        {"games", "", Nothing,
         "every game found: number, source, game folder, neighbourhoods,\n"
         "code page (tab-separated)",
         [](S& s) { return s.ListGames(); }, true},
    };
    return kCommands;
}

std::span<const CliCommand> CliCommands() {
    return CliSession::Commands();
}

const CliCommand* FindCliCommand(std::string_view name) {
    for (const CliCommand& c : CliCommands())
        if (c.name == name) return &c;
    return nullptr;
}

std::size_t ArgumentCount(const CliCommand& command) {
    const std::string_view required = command.arguments.substr(
        0, std::min(command.arguments.find('['), command.arguments.size()));
    std::size_t words = 0;
    bool inWord = false;
    for (char c : required) {
        if (c != ' ' && !inWord) ++words;
        inWord = c != ' ';
    }
    return words;
}

bool TakesMore(const CliCommand& command) {
    return command.arguments.find("...") != std::string_view::npos;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           Platform platform) {
    CliOptions options;
    if (auto code = ParseCliOptions(args, options, out, err)) return *code;
    CliSession session(options, out, err, std::move(platform));
    return session.Run(*options.command);
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           const EnvironmentLookup& env, RegistryMaker registry) {
    // The options first: --help, --version and a usage error need nothing of the machine.
    CliOptions options;
    if (auto code = ParseCliOptions(args, options, out, err)) return *code;
    CliSession session(options, out, err, MakePlatform(env, std::move(registry)));
    return session.Run(*options.command);
}

} // namespace adultify
