// The command-line front end end to end, in-process, on generated game folders.
#include "app/cli/cli_front_end.h"

#include "about/about_windows.h"
#include "hood/get_people.h"
#include "sample/game_folder.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/prefix_registry.h"
#include "tests/support/skip_on_windows.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <sstream>
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/stat.h>
#endif

namespace adultify {
namespace {

namespace fs = std::filesystem;

struct Result {
    int code;
    std::string out, err;
};

std::vector<std::string> Split(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

class CliTest : public ::testing::Test {
  protected:
    CliTest() {
        sample::GameSpec game;
        sample::SimSpec adult;
        adult.userFile = "user00001";
        adult.firstName = "Bob";
        adult.guid = 0x81828384;
        adult.career = 2;
        adult.careerLevel = 4;
        adult.skills = {100, 200, 300, 400, 500, 600};
        adult.familyChunkId = 1;
        adult.fillerBytes = 3000;
        sample::SimSpec child = adult;
        child.userFile = "user00004";
        child.firstName = "Renée";
        child.guid = 0x91929394;
        child.age = 9;
        child.gender = 1;
        child.recordVersion = 4;
        sample::HoodSpec hood;
        hood.sims = {adult, child};
        hood.families = {sample::FamilySpec{"Newbie", 1, {adult.guid, child.guid}}};
        game.hoods.push_back(hood);
        sample::HoodSpec other = hood;
        other.number = 3;
        game.hoods.push_back(other);
        sample::WriteGameFolder(dir.path(), game);
    }

    // The game again, in its own folder, with the child's first name and family name set.
    fs::path GameNaming(const std::string& firstName, const std::string& family) {
        sample::GameSpec game;
        game.hoods.push_back(sample::HoodSpec{});
        sample::HoodSpec& hood = game.hoods.back();
        hood.sims.resize(2);
        hood.sims[0].userFile = "user00001";
        hood.sims[0].familyChunkId = 1;
        hood.sims[0].fillerBytes = 3000;
        hood.sims[1] = hood.sims[0];
        hood.sims[1].userFile = "user00004";
        hood.sims[1].guid = 0x91929394;
        hood.sims[1].firstName = firstName;
        hood.sims[1].age = 9;
        hood.families = {sample::FamilySpec{family, 1, {hood.sims[0].guid, hood.sims[1].guid}}};
        const fs::path folder = data.path() / "named";
        sample::WriteGameFolder(folder, game);
        return folder;
    }

    Result Run(std::vector<std::string> args, bool withGame = true) {
        if (withGame) args.insert(args.begin(), {"--game", dir.str()});
        std::ostringstream out, err;
        const EnvironmentLookup lookup = [this](const char* name) -> const char* {
            auto it = env.find(name);
            return it == env.end() ? nullptr : it->second.c_str();
        };
        const int code = RunCli(args, out, err, lookup, test::PrefixRegistry);
        return {code, out.str(), err.str()};
    }
    fs::path Hood() const { return dir.path() / "UserData"; }

    test::TempDir dir;
    test::TempDir data;
    std::map<std::string, std::string> env = {{"HOME", "/nonexistent-home"},
                                              {"XDG_DATA_HOME", data.str()}};
};

TEST_F(CliTest, HoodsAndListThroughTheGameFolder) {
    Result r = Run({"hoods"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "Combo1: Neighbourhood 1\nCombo1: Neighbourhood 3\n");
    // Options stand before or after the command.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"--hood", "3", "list"}, {"list", "--hood", "3"}, {"list", "--hood=3"}}) {
        r = Run(args);
        EXPECT_EQ(r.code, 0) << args[0];
        EXPECT_EQ(r.out, "List1: Bob Newbie\nList1: Renée Newbie\n") << args[0];
        EXPECT_EQ(r.err, "");
    }
}

TEST_F(CliTest, HoodsThroughAWinePrefixWithoutGame) {
    ADULTIFY_SKIP_ON_WINDOWS(
        "Wine prefixes and their drive links are read on Linux; Windows has its own drives");
    test::TempDir prefix;
    const fs::path game =
        sample::WriteWinePrefix(prefix.path(), "C:\\Program Files (x86)\\Maxis\\The Sims");
    fs::create_directories(game.parent_path());
    fs::rename(dir.path(), game);
    fs::rename(game / "Sims.exe", game / "SIMS.EXE");
    env["WINEPREFIX"] = prefix.str();
    const Result r = Run({"--hood", "3", "list"}, false);
    fs::rename(game, dir.path());
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "List1: Bob Newbie\nList1: Renée Newbie\n");
}

// The names of a UK, German, French and Japanese game, byte for byte, and no control byte of a
// name table's neighbour in any line.
TEST_F(CliTest, ListsEveryNameOfALocalisedGame) {
    for (const char* language : {"uk", "de", "fr", "ja"}) {
        SCOPED_TRACE(language);
        const sample::HoodSpec hood = sample::LocalisedHood(language);
        test::TempDir game;
        sample::WriteGameFolder(game.path(), sample::GameSpec{{hood}});
        std::string expected;
        for (const sample::SimSpec& sim : hood.sims)
            expected += "List1: " + sim.firstName + " " +
                        hood.families[static_cast<std::size_t>(sim.familyChunkId - 1)].name + "\n";
        const std::string codePage = std::to_string(hood.codePage);
        Result r = Run({"--game", game.str(), "--codepage", codePage, "list"}, false);
        EXPECT_EQ(r.code, 0) << r.err;
        EXPECT_EQ(r.out, expected);
        r = Run({"--game", game.str(), "--codepage", codePage, "show", "1"}, false);
        EXPECT_EQ(r.code, 0) << r.err;
        for (const char c : r.out)
            EXPECT_TRUE(c == '\n' || static_cast<unsigned char>(c) >= 0x20) << r.out;
    }
}

TEST_F(CliTest, WhatIsNotThereExitsTwo) {
    Result r = Run({"list"}, false);
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "MsgBox No Sims: The Sims Not Found. Please use the path option to set the "
                     "path to SIMS.EXE\nadultify-cli: give the game folder with --game DIR\n");
    const struct {
        fs::path folder;
        std::string why;
    } refused[] = {
        {dir.path() / "UserData", "It holds no Sims.exe and no neighbourhood folder (UserData, "
                                  "UserData2, ... with a Neighborhood.iff)."},
        {dir.path() / "missing", "The folder does not exist."},
        {dir.path() / "UserData" / "Neighborhood.iff", "This is not a folder."},
    };
    for (const auto& [folder, why] : refused) {
        r = Run({"--game", folder.string(), "list"}, false);
        EXPECT_EQ(r.code, 2);
        EXPECT_EQ(r.err, "MsgBox Invalid Directory: Cannot find SIMS.EXE.\\n" + folder.string() +
                             "\\n" + why + "\n");
    }
    r = Run({"--hood", "2", "list"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err.rfind("adultify-cli: ", 0), 0u);
    r = Run({"show", "2"});
    EXPECT_EQ(r.code, 2);
    r = Run({"adultify", "0"});
    EXPECT_EQ(r.code, 2) << "an adult";
    EXPECT_EQ(r.out, "");
}

TEST_F(CliTest, UsageErrorsExitOne) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"frobnicate"},
                                               {"show"},
                                               {"show", "x"},
                                               {"skill", "0", "Nice", "5"},
                                               {"skill", "0", "Body", "1001"},
                                               {"--hood"},
                                               {"list", "--hood"},
                                               {"--bogus", "list"},
                                               {"--yes=1", "list"},
                                               {"list", "--", "--hood", "3"},
                                               {"show", "--", "-1"},
                                               {}}) {
        const Result r = Run(args);
        EXPECT_EQ(r.code, 1) << (args.empty() ? "" : args[0]);
        EXPECT_NE(r.err.find("usage: adultify-cli"), std::string::npos);
    }
}

TEST_F(CliTest, HelpAndVersionGoToStandardOutput) {
    for (const char* flag : {"-h", "--help"}) {
        const Result r = Run({flag}, false);
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.out.rfind("usage: adultify-cli", 0), 0u);
        const std::vector<std::string> lines = Split(r.out);
        auto hasLineStarting = [&](const std::string& start) {
            return std::any_of(lines.begin(), lines.end(),
                               [&](const std::string& l) { return l.rfind(start, 0) == 0; });
        };
        for (const char* command :
             {"hoods ", "list ", "residents ", "show K ", "adultify K [K ...] ",
              "skill K NAME VALUE ", "fix-thumbnails K ", "body-strings K ", "save ", "snapshots ",
              "restore ID ", "games ", "children ", "grow-up-all [--family NAME] "})
            EXPECT_TRUE(hasLineStarting(std::string("  ") + command)) << command;
        for (int status = 0; status <= 5; ++status)
            EXPECT_TRUE(hasLineStarting("  " + std::to_string(status) + "  ")) << status;
    }
    const Result slash = Run({"/?"}, false); // Windows programs take it for help
    EXPECT_EQ(slash.code, kSlashHelp ? 0 : 1);
    EXPECT_EQ(slash.out, kSlashHelp ? Run({"--help"}, false).out : "");
    const Result v = Run({"--version", "list"}, false);
    EXPECT_EQ(v.code, 0);
    const std::string version = MakeVersionText(); // "Version 1.2.8"
    EXPECT_EQ(v.out, "adultify-cli " + version.substr(version.find(' ') + 1) + "\n");
    EXPECT_EQ(v.err, "");
}

TEST_F(CliTest, ShowPrintsTheWholeView) {
    const Result r = Run({"show", "1"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out,
              "Frame2: Personal Infomation for Renée Newbie\n"
              "List2: Filename:user00004\n"
              "List2: Gender: Female\n"
              "List2: Age: Child\n"
              "List2:       \n"
              "Label7: 500\nLabel8: 500\nLabel9: 500\nLabel10: 500\nLabel11: 500\n"
              "Label18: 100\nLabel19: 200\nLabel20: 300\nLabel21: 400\nLabel22: 500\nLabel23: 600\n"
              "Command1: enabled\n"
              "Picture1: 25x25\n"
              "Picture2: 105x41\n");
}

TEST_F(CliTest, AdultifyChangesBothFilesAndKeepsTheBackup) {
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
    EXPECT_NE(r.err.find("MsgBox Completed: Sucess. Your child has grown up.\n"),
              std::string::npos);
    EXPECT_NE(r.err.find("Label3: Find Residents (Renée Newbie)\n"), std::string::npos);

    EXPECT_EQ(test::ReadBytes(Hood() / "Neighborhood.000"), hoodBefore);
    const Bytes hoodAfter = test::ReadBytes(Hood() / "Neighborhood.iff");
    ASSERT_EQ(hoodAfter.size(), hoodBefore.size());
    const Position u = FindBytes(hoodBefore, "user00004", 1);
    std::vector<long> changed;
    for (std::size_t i = 0; i < hoodBefore.size(); ++i)
        if (hoodAfter[i] != hoodBefore[i]) changed.push_back(static_cast<long>(i + 1) - u);
    for (long offset : changed) {
        const bool allowed = offset == 134 || (offset >= 130 && offset <= 132) ||
                             (offset >= 22 && offset <= 33 && offset != 26 && offset != 27) ||
                             (offset >= 38 && offset <= 43) || (offset >= 48 && offset <= 49) ||
                             (offset >= 52 && offset <= 55);
        EXPECT_TRUE(allowed) << "byte U+" << offset << " changed";
    }
    EXPECT_EQ(ByteAt(hoodAfter, u + 134), 27);

    const Bytes charAfter = test::ReadBytes(Hood() / "Characters" / "User00004.iff");
    EXPECT_EQ(charAfter.size(), charBefore.size());
    EXPECT_EQ(FindBytes(charAfter, Bytes{1, '2', '7', 0, 0}, 1) > 0, true);
    EXPECT_EQ(FindBytes(charAfter, "child", 1), FindBytes(charBefore, "child", 1) + 0 * 1)
        << "the stale copy keeps its word";
    EXPECT_GT(FindBytes(charAfter, Bytes{1, 'a', 'd', 'u', 'l', 't', 0}, 1), 0);

    // The same seed draws the same personality.
    fs::rename(Hood() / "Neighborhood.000", Hood() / "Neighborhood.iff");
    test::WriteBytes(Hood() / "Characters" / "User00004.iff", charBefore);
    const Result again = Run({"--seed", "7", "adultify", "1"});
    EXPECT_EQ(test::ReadBytes(Hood() / "Neighborhood.iff"), hoodAfter);
    EXPECT_EQ(again.out, r.out);
}

TEST_F(CliTest, KeepPersonalityLeavesTheTraits) {
    const Bytes before = test::ReadBytes(Hood() / "Neighborhood.iff");
    ASSERT_EQ(Run({"--keep-personality", "adultify", "1"}).code, 0);
    const Bytes after = test::ReadBytes(Hood() / "Neighborhood.iff");
    const Position u = FindBytes(before, "user00004", 1);
    for (int offset = 22; offset <= 33; ++offset)
        EXPECT_EQ(ByteAt(after, u + offset), ByteAt(before, u + offset));
}

TEST_F(CliTest, SkillEditIsSaved) {
    const Result r = Run({"skill", "0", "cooking", "537"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(
        r.out,
        "Label2: 537\nLabel3:  5 / 37%\nShape2: 0000011111\n"
        "Label18: 537\nLabel19: 200\nLabel20: 300\nLabel21: 400\nLabel22: 500\nLabel23: 600\n");
    const Bytes saved = test::ReadBytes(Hood() / "Neighborhood.iff");
    EXPECT_EQ(ReadU16LE(saved, FindBytes(saved, "user00001", 1) + 38), 537u);
    EXPECT_TRUE(fs::exists(Hood() / "Neighborhood.000"));
}

TEST_F(CliTest, FixThumbnailsAnsweredNoThenYes) {
    const Bytes before = test::ReadBytes(Hood() / "Characters" / "User00001.iff");
    Result r = Run({"fix-thumbnails", "0"});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "Picture1: 25x25\nPicture2: 105x41\n");
    EXPECT_NE(r.err.find("MsgBox WARNING: WARNING\\n-----------------\\nThis is an experimental"),
              std::string::npos);
    EXPECT_NE(
        r.err.find(
            "Do you still wish to proceed? -> No\nMsgBox Aborted: Thumbnail removal cancelled\n"),
        std::string::npos);
    EXPECT_EQ(test::ReadBytes(Hood() / "Characters" / "User00001.iff"), before);

    r = Run({"--yes", "fix-thumbnails", "0"});
    EXPECT_EQ(r.out, "Picture1: stock\nPicture2: stock\n");
    EXPECT_NE(r.err.find("MsgBox Complete: Done. 7 replacements made\n"), std::string::npos);
}

TEST_F(CliTest, BodyStringsFollowTheDetails) {
    const Result r = Run({"body-strings", "1"});
    const auto out = Split(r.out);
    ASSERT_EQ(out.size(), 4u + 35u);
    EXPECT_EQ(out[0], "List2: Filename:user00004");
    EXPECT_EQ(out[4], "List2: 1:child");
    EXPECT_EQ(out[17], "List2: 14:9");
}

TEST_F(CliTest, SaveMakesABackupAReadOnlyFileIsRefusedAndAFailedSaveExitsFour) {
    EXPECT_EQ(Run({"save"}).code, 0);
    EXPECT_TRUE(fs::exists(Hood() / "Neighborhood.000"));
    const Bytes before = test::ReadBytes(Hood() / "Neighborhood.iff");

    fs::permissions(Hood() / "Neighborhood.iff", fs::perms::owner_write, fs::perm_options::remove);
    Result r = Run({"save"});
    EXPECT_EQ(r.code, 5);
    EXPECT_NE(r.err.find("MsgBox Nothing Changed: The neighbourhood was not saved"),
              std::string::npos);
    EXPECT_EQ(test::ReadBytes(Hood() / "Neighborhood.iff"), before);
    EXPECT_FALSE(fs::exists(Hood() / "Neighborhood.001"));
    fs::permissions(Hood() / "Neighborhood.iff", fs::perms::owner_write, fs::perm_options::add);

    // A full disk, through the file-system seam.
    NativeFileSystem native;
    Platform platform = MakePlatform([](const char*) -> const char* { return nullptr; });
    auto full = std::make_unique<test::FaultyFileSystem>(native);
    full->failAt = 0;
    platform.files = std::move(full);
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"--game", dir.str(), "--no-snapshot", "save"}, out, err, std::move(platform)),
              4);
    EXPECT_NE(err.str().find("MsgBox Save Failed: The neighbourhood was not saved"),
              std::string::npos);
    EXPECT_EQ(test::ReadBytes(Hood() / "Neighborhood.iff"), before);
}

// What a crash never leaves under the record's name is said once, and reads and saves go on.
TEST_F(CliTest, APipeWhereTheRecordOfASaveBelongsIsSaidOnceAndBlocksNothing) {
#ifdef _WIN32
    GTEST_SKIP() << "a pipe in a folder is POSIX's";
#else
    ASSERT_EQ(::mkfifo((dir.path() / ".adultify-intent").c_str(), 0644), 0);
    const Result r = Run({"list"});
    EXPECT_EQ(r.code, 0) << r.err;
    const auto said = r.err.find("Interrupted Save");
    ASSERT_NE(said, std::string::npos);
    EXPECT_EQ(r.err.find("Interrupted Save", said + 1), std::string::npos) << r.err;
    EXPECT_EQ(Run({"save"}).code, 0);
#endif
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

TEST_F(CliTest, ARefusedAdultifySaysOnStandardOutputThatNothingWasSaved) {
    const Bytes before = test::ReadBytes(Hood() / "Neighborhood.iff");
    Platform platform = MakePlatform([](const char*) -> const char* { return nullptr; });
    platform.findRunningGame = [] { return std::optional<std::string>("Sims.exe"); };
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"--game", dir.str(), "adultify", "1"}, out, err, std::move(platform)), 5);
    const auto lines = Split(out.str());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "List2: Nothing was saved: the game is running.");
    EXPECT_EQ(lines[1], "List1: Bob Newbie");
    EXPECT_NE(err.str().find("MsgBox The Sims Is Running: "), std::string::npos);
    EXPECT_EQ(test::ReadBytes(Hood() / "Neighborhood.iff"), before);
}

// Exit 5 says the command changed nothing: a file refused on the way (a character file or the
// neighbourhood too large for the game) is reported, and a write after it still exits 0. A
// restore reads no neighbourhood: it puts back an oversized one without a word.
TEST_F(CliTest, ARefusalMetOnTheWayIsPrintedAndAWriteAfterItExitsZero) {
    ASSERT_EQ(Run({"save"}).code, 0);
    const std::string listed = Split(Run({"snapshots"}).out).at(0);
    const std::string snapshot = listed.substr(0, listed.find('\t'));
    struct Case {
        std::vector<std::string> args;
        fs::path oversized;
        int code;
        bool refused;
        std::string success; // printed after the refusal
    };
    const fs::path bob = Hood() / "Characters" / "User00001.iff";
    const std::vector<Case> cases = {
        {{"list"}, bob, 5, true, ""},
        {{"--seed", "7", "adultify", "1"}, bob, 0, true, "MsgBox Completed: Sucess."},
        {{"--yes", "skill", "1", "Cooking", "500"}, bob, 0, true, ""},
        {{"--yes", "restore", snapshot}, Hood() / "Neighborhood.iff", 0, false, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args.back());
        const Bytes kept = test::ReadBytes(c.oversized);
        fs::resize_file(c.oversized, (64u << 20) + 1);
        const Bytes hood = test::ReadBytes(Hood() / "Neighborhood.iff");
        const Result r = Run(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        const auto refusal = r.err.find("MsgBox Nothing Changed: ");
        EXPECT_EQ(refusal != std::string::npos, c.refused) << r.err;
        if (!c.success.empty()) {
            EXPECT_GT(r.err.find(c.success), refusal) << r.err;
        }
        EXPECT_EQ(test::ReadBytes(Hood() / "Neighborhood.iff") != hood, c.code == 0);
        fs::remove(c.oversized);
        test::WriteBytes(c.oversized, kept);
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
        {"list"}, {"residents"}, {"show", "1"}, {"--yes", "--seed", "7", "adultify", "1"}};
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
        for (const std::string& line : Split(r.out))
            EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), args[0] == "residents" ? 3 : 0)
                << line;
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

// Leaves no format code within reach of the name table's tag: reading the name is fatal.
void BreakFirstName(const fs::path& characterFile) {
    Bytes broken = test::ReadBytes(characterFile);
    const Position ctss = FindBytes(broken, "CTSS", 1);
    for (Position p = ctss; p < ctss + 1100; ++p)
        if (broken[static_cast<std::size_t>(p - 1)] == 0xFD)
            broken[static_cast<std::size_t>(p - 1)] = 0;
    test::WriteBytes(characterFile, broken);
}

TEST_F(CliTest, AFatalStopExitsThree) {
    BreakFirstName(Hood() / "Characters" / "User00004.iff");
    const Result r = Run({"list"});
    EXPECT_EQ(r.code, 3);
    EXPECT_NE(r.err.find("MsgBox Fatal Error:: "), std::string::npos);
    EXPECT_NE(r.err.find("User00004.iff is invalid"), std::string::npos);
}

TEST_F(CliTest, AdultifyLeavesASnapshotThatRestoreBringsBackByteForByte) {
    const Bytes hood = test::ReadBytes(Hood() / "Neighborhood.iff");
    const Bytes character = test::ReadBytes(Hood() / "Characters" / "User00004.iff");
    ASSERT_EQ(Run({"--seed", "7", "adultify", "1"}).code, 0);
    ASSERT_NE(test::ReadBytes(Hood() / "Neighborhood.iff"), hood);
    // Snapshots are listed and restored without reading the residents, also a damaged one's.
    BreakFirstName(Hood() / "Characters" / "User00001.iff");

    Result r = Run({"snapshots"});
    ASSERT_EQ(r.code, 0);
    auto lines = Split(r.out);
    ASSERT_EQ(lines.size(), 1u);
    std::vector<std::string> fields;
    std::istringstream columns(lines[0]);
    for (std::string f; std::getline(columns, f, '\t');)
        fields.push_back(f);
    ASSERT_EQ(fields.size(), 6u) << lines[0];
    EXPECT_EQ(fields[2], "adultify");
    EXPECT_EQ(fields[3], "user00004");
    EXPECT_EQ(fields[5], "Renée Newbie");
    EXPECT_NE(fields[4].find("Neighborhood.iff"), std::string::npos);
    EXPECT_NE(fields[4].find("User00004.iff"), std::string::npos);

    r = Run({"restore", fields[0]});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(test::ReadBytes(Hood() / "Neighborhood.iff"), hood);
    EXPECT_EQ(test::ReadBytes(Hood() / "Characters" / "User00004.iff"), character);
    lines = Split(Run({"snapshots"}).out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("\trestore\t"), std::string::npos) << "the restore can be undone";

    r = Run({"restore", "no-such-snapshot"});
    EXPECT_EQ(r.code, 2);
    EXPECT_NE(r.err.find("adultify-cli: no snapshot no-such-snapshot"), std::string::npos);
}

} // namespace
} // namespace adultify
