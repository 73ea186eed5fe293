// The command-line front end end to end, in-process, on generated game folders.
#include "app/cli/cli_front_end.h"

#include "about/about_windows.h"
#include "hood/get_people.h"
#include "sample/game_folder.h"
#include "tests/support/cli_run.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/residents.h"
#include "tests/support/skip_on_windows.h"
#include "tests/support/system_calls.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>

namespace adultify {
namespace {

namespace fs = std::filesystem;

using test::Result;

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

// Leaves no format code within reach of the name table's tag: reading the name is fatal.
void BreakFirstName(const fs::path& characterFile) {
    Bytes broken = test::ReadBytes(characterFile);
    const Position ctss = FindBytes(broken, "CTSS", 1);
    for (Position p = ctss; p < ctss + 1100; ++p)
        if (broken[static_cast<std::size_t>(p - 1)] == 0xFD)
            broken[static_cast<std::size_t>(p - 1)] = 0;
    test::WriteBytes(characterFile, broken);
}

// The files under `game` that are new or other than in `before`, the game's lock aside.
std::vector<std::string> ChangedSince(const std::map<std::string, Bytes>& before,
                                      const fs::path& game) {
    std::vector<std::string> changed;
    for (const auto& [name, bytes] : test::FilesUnder(game))
        if (name != ".adultify.lock" && (!before.count(name) || before.at(name) != bytes))
            changed.push_back(name);
    return changed;
}

class CliTest : public ::testing::Test {
  protected:
    // Neighbourhoods 1 and 3 each hold Bob, an adult, and Renée, a child of the old record
    // version, with Bob's career and skills.
    CliTest() {
        sample::SimSpec adult = test::Resident("user00001", "Bob", 27, 0x81828384, 1);
        adult.career = 2;
        adult.careerLevel = 4;
        adult.skills = {100, 200, 300, 400, 500, 600};
        sample::SimSpec child = adult;
        child.userFile = "user00004";
        child.firstName = "Renée";
        child.guid = 0x91929394;
        child.age = 9;
        child.gender = 1;
        child.recordVersion = 4;
        sample::WriteGameFolder(dir.path(), Game(adult, child, "Newbie", 3));
    }
    static sample::GameSpec Game(const sample::SimSpec& adult, const sample::SimSpec& child,
                                 const std::string& family, int second = 0) {
        const sample::HoodSpec hood = sample::OneFamily(family, {adult, child});
        sample::GameSpec game{{hood}};
        if (second > 0) game.hoods.push_back(hood);
        if (second > 0) game.hoods.back().number = second;
        return game;
    }

    // Another game, in its own folder, with the child's first name and family name set.
    fs::path GameNaming(const std::string& firstName, const std::string& family) {
        const fs::path folder = data.path() / "named";
        sample::WriteGameFolder(folder,
                                Game(test::Resident("user00001", "Bob", 27, 1, 1),
                                     test::Resident("user00004", firstName, 9, 2, 1), family));
        return folder;
    }

    std::string Version() const {
        const std::string about = MakeVersionText(); // "Version 1.2.8"
        return about.substr(about.find(' ') + 1);
    }
    Result Run(std::vector<std::string> args, bool withGame = true) {
        if (withGame) args.insert(args.begin(), {"--game", dir.str()});
        return test::RunCliIn(args, env);
    }
    fs::path Hood() const { return dir.path() / "UserData"; }

    test::TempDir dir;
    test::TempDir data;
    test::Environment env = {{"HOME", "/nonexistent-home"}, {"XDG_DATA_HOME", data.str()}};
};

// Every argument list on a fresh copy of the game: its exit status, its whole standard output
// where that is short, a part of what it says on standard error, and the files it changes.
TEST_F(CliTest, EachArgumentListExitsPrintsAndWritesAsItShould) {
    const std::string hood = "UserData/Neighborhood.iff", backup = "UserData/Neighborhood.000",
                      bob = "UserData/Characters/User00001.iff",
                      child = "UserData/Characters/User00004.iff";
    const std::string list = "List1: Bob Newbie\nList1: Renée Newbie\n",
                      usage = "usage: adultify-cli";
    const std::string show =
        "Frame2: Personal Infomation for Renée Newbie\n"
        "List2: Filename:user00004\nList2: Gender: Female\nList2: Age: Child\nList2:       \n"
        "Label7: 500\nLabel8: 500\nLabel9: 500\nLabel10: 500\nLabel11: 500\n"
        "Label18: 100\nLabel19: 200\nLabel20: 300\nLabel21: 400\nLabel22: 500\nLabel23: 600\n"
        "Command1: enabled\nPicture1: 25x25\nPicture2: 105x41\n";
    const std::string pictures = "Picture1: 25x25\nPicture2: 105x41\n",
                      stock = "Picture1: stock\nPicture2: stock\n";
    const std::string skill =
        "Label2: 537\nLabel3:  5 / 37%\nShape2: 0000011111\nLabel18: 537\n"
        "Label19: 200\nLabel20: 300\nLabel21: 400\nLabel22: 500\nLabel23: 600\n";
    const std::string noSims = "MsgBox No Sims: The Sims Not Found. Please use the path option to "
                               "set the path to SIMS.EXE\nadultify-cli: give the game folder with "
                               "--game DIR\n";
    const std::string askedNo =
        "Do you still wish to proceed? -> No\nMsgBox Aborted: Thumbnail removal cancelled\n";
    const auto readOnly = [&](const fs::path& game) {
        fs::permissions(game / hood, fs::perms::owner_write, fs::perm_options::remove);
    };
    const auto breakName = [&](const fs::path& game) { BreakFirstName(game / child); };
    // Too large for the game: refused on the way, and a write after it still exits 0.
    const auto oversized = [&](const fs::path& game) {
        fs::resize_file(game / bob, (64u << 20) + 1);
    };
    const std::string refused = "MsgBox Nothing Changed: ";
    const std::string missing = (dir.path() / "missing").string(),
                      noGame = "MsgBox Invalid Directory: Cannot find SIMS.EXE.\\n";
    struct Case {
        std::vector<std::string> args;
        int code;
        std::optional<std::string> out; // the whole standard output; none: any but nothing
        std::string err;                // a part of standard error
        std::vector<std::string> changed = {};
        std::function<void(const fs::path& game)> before = {};
        bool withGame = true; // --game comes first
    };
    const std::vector<Case> cases = {
        {{"hoods"}, 0, "Combo1: Neighbourhood 1\nCombo1: Neighbourhood 3\n", ""},
        {{"--hood", "3", "list"}, 0, list, ""}, // options before or after the command
        {{"list", "--hood", "3"}, 0, list, ""},
        {{"list", "--hood=3"}, 0, list, ""},
        {{"show", "1"}, 0, show, ""},
        {{"body-strings", "1"}, 0, std::nullopt, ""}, // its lines: body_strings_test
        {{"fix-thumbnails", "0"}, 0, pictures, askedNo},
        {{"--version", "list"}, 0, "adultify-cli " + Version() + "\n", "", {}, {}, false},
        {{"--seed", "7", "adultify", "1"}, 0, {}, "Sucess. Your child", {child, backup, hood}},
        {{"skill", "0", "cooking", "537"}, 0, skill, "", {backup, hood}},
        {{"--yes", "fix-thumbnails", "0"}, 0, stock, "Done. 7 replacements made\n", {bob}},
        {{"save"}, 0, "", "", {backup}},
        {{"save"}, 5, "", "MsgBox Nothing Changed: The neighbourhood was not", {}, readOnly},
        {{"list"}, 3, "", "MsgBox Fatal Error:: ", {}, breakName},
        {{"list"}, 5, std::nullopt, refused, {}, oversized},
        {{"--seed", "7", "adultify", "1"}, 0, {}, refused, {child, backup, hood}, oversized},
        {{"--yes", "skill", "1", "Cooking", "500"}, 0, {}, refused, {backup, hood}, oversized},
        {{"list"}, 2, "", noSims, {}, {}, false},
        // A folder that is no game says why (each reason: GameFolderCheck.ARefusalSaysWhy).
        {{"--game", missing, "list"},
         2,
         "",
         noGame + missing + "\\nThe folder does not exist.\n",
         {},
         {},
         false},
        {{"--hood", "2", "list"}, 2, "", "adultify-cli: "},
        // Without --hood the first there is: UserData holds no neighbourhood file here.
        {{"list"}, 0, list, "", {}, [&](const fs::path& game) { fs::remove(game / hood); }},
        {{"show", "2"}, 2, "", ""},
        {{"adultify", "0"}, 2, "", ""}, // an adult
        {{"restore", "no-such-snapshot"}, 2, "", "adultify-cli: no snapshot no-such-snapshot"},
        {{"frobnicate"}, 1, "", usage},
        {{"show"}, 1, "", usage},
        {{"show", "x"}, 1, "", usage},
        {{"skill", "0", "Nice", "5"}, 1, "", usage},
        {{"skill", "0", "Body", "1001"}, 1, "", usage},
        {{"--hood"}, 1, "", usage},
        {{"list", "--hood"}, 1, "", usage},
        {{"--bogus", "list"}, 1, "", usage},
        {{"--yes=1", "list"}, 1, "", usage},
        {{"list", "--", "--hood", "3"}, 1, "", usage},
        {{"show", "--", "-1"}, 1, "", usage},
        {{}, 1, "", usage},
        {{"/?"},
         kSlashHelp ? 0 : 1,
         kSlashHelp ? Run({"--help"}, false).out : "",
         "",
         {},
         {},
         false},
    };
    for (const Case& c : cases) {
        std::string label;
        for (const std::string& arg : c.args)
            label += arg + " ";
        SCOPED_TRACE(label);
        test::TempDir copy;
        test::CopyTreeInto(dir.path(), copy.path());
        if (c.before) c.before(copy.path());
        const std::map<std::string, Bytes> before = test::FilesUnder(copy.path());
        std::vector<std::string> args = c.args;
        if (c.withGame) args.insert(args.begin(), {"--game", copy.str()});
        const Result r = Run(args, false);
        EXPECT_EQ(r.code, c.code) << r.err;
        EXPECT_EQ(r.out, c.out.value_or(r.out.empty() ? "some lines" : r.out));
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
        EXPECT_EQ(ChangedSince(before, copy.path()), c.changed);
        for (const auto& entry : fs::recursive_directory_iterator(copy.path()))
            fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add);
    }
}

TEST_F(CliTest, HelpGoesToStandardOutputAndNamesEveryCommandAndExitStatus) {
    for (const char* flag : {"-h", "--help"}) {
        const Result r = Run({flag}, false);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("usage: adultify-cli", 0), 0u);
        for (const char* command :
             {"hoods ", "list ", "residents ", "show K ", "adultify K [K ...] ",
              "skill K NAME VALUE ", "fix-thumbnails K ", "body-strings K ", "save ", "snapshots ",
              "restore ID ", "games ", "children ", "grow-up-all [--family NAME] "})
            EXPECT_NE(r.out.find(std::string("\n  ") + command), std::string::npos) << command;
        for (int status = 0; status <= 5; ++status)
            EXPECT_NE(r.out.find("\n  " + std::to_string(status) + "  "), std::string::npos);
    }
}

// The trace of a grown-up's run, and the same seed drawing the same personality; with
// --keep-personality no trait changes.
TEST_F(CliTest, AdultifyTracesItsStepsAndRepeatsItsDrawWithTheSameSeed) {
    const Bytes hoodBefore = test::ReadBytes(Hood() / "Neighborhood.iff");
    const Bytes charBefore = test::ReadBytes(Hood() / "Characters" / "User00004.iff");
    const Result r = Run({"--seed", "7", "--trace", "adultify", "1"});
    EXPECT_EQ(r.code, 0) << r.err;
    const auto out = Split(r.out);
    ASSERT_EQ(out.size(), 21u);
    EXPECT_EQ(out[0], "List2: Starting Adultify process");
    EXPECT_EQ(out[5], "List2: Adjusting Personality due to life experience");
    EXPECT_EQ(out[12], "List2: Adultify is Finished");
    EXPECT_EQ(out[13], "List2: Filename:user00004") << "then the grown-up, shown again";
    EXPECT_EQ(out[17], "List2: Age: Adult");
    EXPECT_EQ(out[19], "List1: Bob Newbie");
    EXPECT_NE(r.err.find("Label3: Find Residents (Renée Newbie)\n"), std::string::npos);
    const Bytes hoodAfter = test::ReadBytes(Hood() / "Neighborhood.iff");
    const Position u = FindBytes(hoodBefore, "user00004", 1);
    EXPECT_EQ(ByteAt(hoodAfter, u + 134), 27);

    for (const bool keep : {false, true}) {
        fs::rename(Hood() / "Neighborhood.000", Hood() / "Neighborhood.iff");
        test::WriteBytes(Hood() / "Characters" / "User00004.iff", charBefore);
        const Result again =
            Run({keep ? "--keep-personality" : "--trace", "--seed", "7", "adultify", "1"});
        const Bytes now = test::ReadBytes(Hood() / "Neighborhood.iff");
        if (!keep) {
            EXPECT_EQ(now, hoodAfter);
            EXPECT_EQ(again.out, r.out);
        }
        for (int offset = 22; keep && offset <= 33; ++offset)
            EXPECT_EQ(ByteAt(now, u + offset), ByteAt(hoodBefore, u + offset)) << offset;
    }
}

// Another program (the game, a backup tool) holds the neighbourhood open without letting it be
// replaced: the character file, replaced first, is put back, and "Nothing has been changed"
// is true. On Linux a read-only neighbourhood does the same (adultify_test).
TEST_F(CliTest, ANeighbourhoodHeldOpenLeavesBothFilesOldAndExitsFive) {
#ifndef _WIN32
    GTEST_SKIP() << "a file held open against replacing is Windows'";
#else
    const fs::path hood = Hood() / "Neighborhood.iff";
    const fs::path character = Hood() / "Characters" / "User00004.iff";
    const Bytes hoodBefore = test::ReadBytes(hood), charBefore = test::ReadBytes(character);
    const HANDLE held =
        ::CreateFileW(hood.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    const Result r = Run({"adultify", "1"});
    ::CloseHandle(held);
    EXPECT_EQ(r.code, 5) << r.err;
    EXPECT_NE(r.err.find("Nothing has been changed."), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find("next starts"), std::string::npos) << r.err;
    EXPECT_EQ(test::ReadBytes(hood), hoodBefore);
    EXPECT_EQ(test::ReadBytes(character), charBefore);
    EXPECT_FALSE(fs::exists(Hood() / "Neighborhood.000"));
    EXPECT_FALSE(fs::exists(dir.path() / ".adultify-intent"));
    const Result next = Run({"list"});
    EXPECT_EQ(next.code, 0);
    EXPECT_EQ(next.err.find("Interrupted Save"), std::string::npos) << next.err;
#endif
}

// The game running refuses with a word on standard output; a full disk fails the save.
TEST_F(CliTest, ARefusedOrFailedWriteExitsFiveOrFourAndChangesNothing) {
    struct Case {
        std::vector<std::string> args;
        std::function<void(Platform&)> arrange;
        int code;
        std::string out, err;
    };
    NativeFileSystem native;
    const auto running = [](Platform& p) {
        p.findRunningGame = [] { return std::optional<std::string>("Sims.exe"); };
    };
    const auto fullDisk = [&](Platform& p) {
        auto full = std::make_unique<test::FaultyFileSystem>(native);
        full->failAt = 0;
        p.files = std::move(full);
    };
    const std::string notSaved = "List2: Nothing was saved: the game is running.\nList1: Bob";
    const std::vector<Case> cases = {
        {{"adultify", "1"}, running, 5, notSaved, "MsgBox The Sims Is Running: "},
        {{"--no-snapshot", "save"}, fullDisk, 4, "", "MsgBox Save Failed: The neighbourhood was"},
    };
    const std::map<std::string, Bytes> files = test::FilesUnder(dir.path());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        Platform platform = MakePlatform([](const char*) -> const char* { return nullptr; });
        c.arrange(platform);
        std::vector<std::string> args = {"--game", dir.str()};
        args.insert(args.end(), c.args.begin(), c.args.end());
        std::ostringstream out, err;
        EXPECT_EQ(RunCli(args, out, err, std::move(platform)), c.code);
        EXPECT_EQ(out.str().substr(0, c.out.size()), c.out);
        EXPECT_NE(err.str().find(c.err), std::string::npos) << err.str();
        EXPECT_EQ(ChangedSince(files, dir.path()), std::vector<std::string>{});
    }
}

// No place for snapshots: a write is refused, unless the user asks to write without one.
TEST_F(CliTest, WithoutAHomeAWriteIsRefusedUnlessNoSnapshotIsGiven) {
    ADULTIFY_SKIP_ON_WINDOWS("the snapshots' folder is the known local data folder there");
    env.clear();
    const Bytes before = test::ReadBytes(Hood() / "Neighborhood.iff");
    Result r = Run({"--seed", "7", "adultify", "1"});
    EXPECT_EQ(r.code, 5);
    EXPECT_NE(r.err.find("MsgBox Nothing Changed: No copy of the files could be kept"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(test::ReadBytes(Hood() / "Neighborhood.iff"), before);
    r = Run({"--no-snapshot", "--seed", "7", "adultify", "1"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(test::ReadBytes(Hood() / "Neighborhood.iff"), before);
    // A snapshot store that cannot be used refuses like every other refusal.
    env = {{"XDG_DATA_HOME", (Hood() / "Neighborhood.iff").string()}};
    r = Run({"--yes", "skill", "1", "Cooking", "500"});
    EXPECT_EQ(r.code, 5) << r.err;
}

// Names from save files may hold any byte: no command lets one reach the terminal raw or
// split a column.
TEST_F(CliTest, ControlCharactersInNamesArePrintedEscaped) {
    const fs::path game = GameNaming("Ren\x1b]0;pwned\aee\r", "New\tbie");
    const std::string name = "Ren\\x1b]0;pwned\\x07ee\\x0d New\\x09bie";
    const std::vector<std::vector<std::string>> commands = {
        {"list"},
        {"residents"},
        {"show", "1"},
        {"--yes", "--seed", "7", "adultify", "1"},
        {"snapshots"}}; // the name kept by the adultify before it
    for (const auto& args : commands) {
        SCOPED_TRACE(args.back());
        std::vector<std::string> all = {"--game", game.string()};
        all.insert(all.end(), args.begin(), args.end());
        const Result r = Run(all, false);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_NE(r.out.find(name), std::string::npos) << r.out;
        for (const std::string& text : {r.out, r.err})
            for (const char c : text)
                EXPECT_TRUE(static_cast<unsigned char>(c) >= 0x20 || c == '\n' ||
                            (c == '\t' && args[0] != "list"))
                    << static_cast<int>(c);
        const long tabs = args[0] == "residents" ? 3 : args[0] == "snapshots" ? 5 : 0;
        for (const std::string& line : Split(r.out))
            EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), tabs) << line;
    }
}

// A neighbourhood whose file is no regular file stays in the list and is refused when chosen.
TEST_F(CliTest, ANeighbourhoodFileThatIsNoFileIsListedAndRefused) {
#ifdef _WIN32
    GTEST_SKIP() << "pipes and symbolic links are made here with POSIX calls";
#else
    const fs::path file = dir.path() / "UserData3" / "Neighborhood.iff";
    const std::vector<std::function<void()>> plants = {
        [&] { ASSERT_EQ(::mkfifo(file.c_str(), 0600), 0); },
        [&] { fs::create_directory(file); },
        [&] { fs::create_symlink(file, file); },
    };
    for (const auto& plant : plants) {
        fs::remove_all(file);
        plant();
        Result r = Run({"hoods"});
        EXPECT_EQ(r.out, "Combo1: Neighbourhood 1\nCombo1: Neighbourhood 3\n");
        r = Run({"--hood", "3", "list"});
        EXPECT_EQ(r.code, 5);
        EXPECT_NE(r.err.find("MsgBox Nothing Changed: This neighbourhood file cannot be read."),
                  std::string::npos)
            << r.err;
    }
#endif
}

// The snapshot's columns; restore puts it back without reading the residents, also a damaged
// one's. What a restore writes: game/snapshots_test.
TEST_F(CliTest, SnapshotsListTheirColumnsAndRestoreReadsNoResident) {
    ASSERT_EQ(Run({"--seed", "7", "adultify", "1"}).code, 0);
    BreakFirstName(Hood() / "Characters" / "User00001.iff");
    Result r = Run({"snapshots"});
    ASSERT_EQ(r.code, 0);
    std::vector<std::string> fields;
    std::istringstream columns(r.out);
    for (std::string f; std::getline(columns, f, '\t');)
        fields.push_back(f);
    ASSERT_EQ(fields.size(), 6u) << r.out;
    EXPECT_EQ(fields[2], "adultify");
    EXPECT_EQ(fields[3], "user00004");
    EXPECT_NE(fields[4].find("Neighborhood.iff"), std::string::npos);
    EXPECT_NE(fields[4].find("User00004.iff"), std::string::npos);
    EXPECT_EQ(fields[5], "Renée Newbie\n");
    r = Run({"restore", fields[0]});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(ByteAt(test::ReadBytes(Hood() / "Neighborhood.iff"),
                     FindBytes(test::ReadBytes(Hood() / "Neighborhood.iff"), "user00004", 1) + 134),
              9);
}

} // namespace
} // namespace adultify
