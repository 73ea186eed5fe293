// adultify-cli on a generated home with the game in every place: `games`, --found, --codepage.
#include "app/cli/cli_front_end.h"

#include "sample/home_folder.h"
#include "tests/support/prefix_registry.h"
#include "tests/support/skip_on_windows.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace adultify {
namespace {

namespace fs = std::filesystem;

struct Result {
    int code;
    std::string out, err;
};

class CliGames : public ::testing::Test {
  protected:
    void SetUp() override {
        ADULTIFY_SKIP_ON_WINDOWS(
            "the home holds Wine prefixes and Steam, Bottles, Lutris and Heroic "
            "folders, Linux's; Windows finds games in its registry");
        h = sample::WriteSampleHome(root.path());
        env = {{"HOME", h.home.string()},
               {"XDG_DATA_HOME", (root.path() / "data").string()},
               {"XDG_CONFIG_HOME", (root.path() / "config").string()}};
    }
    Result Run(const std::vector<std::string>& args) {
        std::ostringstream out, err;
        const EnvironmentLookup lookup = [this](const char* name) -> const char* {
            auto it = env.find(name);
            return it == env.end() ? nullptr : it->second.c_str();
        };
        const int code = RunCli(args, out, err, lookup, test::PrefixRegistry);
        return {code, out.str(), err.str()};
    }

    test::TempDir root;
    sample::SampleHome h;
    std::map<std::string, std::string> env;
};

TEST_F(CliGames, ListsEveryGameOfAGeneratedHomeInTheOrderStartUpTriesThem) {
    const Result r = Run({"games"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(
        r.out,
        "1\tregistry\tC:\\Program Files (x86)\\Maxis\\The Sims\\\t1\t1252\n"
        "2\tre-release\tC:\\users\\steamuser\\Saved Games\\Electronic Arts\\The Sims 25\\\t"
        "1,2\t1252\n"
        "3\tre-release\tC:\\users\\steamuser\\Saved Games\\Electronic Arts\\The Sims 25\\\t"
        "3\t1252\n"
        "4\tsteam\tC:\\Игры\\The Sims\\\t1,4\t1251\n"
        "5\tbottles\tC:\\Program Files\\Maxis\\The Sims\\\t1,2,3\t1252\n"
        "6\tbottles\tC:\\users\\player\\Saved Games\\Electronic Arts\\The Sims 25\\\t2\t1252\n"
        "7\tlutris\tC:\\users\\player\\Saved Games\\Electronic Arts\\The Sims 25\\\t7\t1252\n"
        "8\theroic\tD:\\Games\\The Sims\\\t1\t932\n");
    EXPECT_EQ(r.err, "");
    EXPECT_EQ(Run({"--game", h.bottleGame.string(), "games"}).out, r.out)
        << "a game given changes nothing of the list";

    env["HOME"] = (root.path() / "nobody").string();
    const Result none = Run({"games"});
    EXPECT_EQ(none.code, 2);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err,
              "adultify-cli: no game found in the registry, the folders chosen before, the "
              "re-release's save folder, Steam, Bottles, Lutris, Heroic or Wine prefixes; give "
              "the game folder with --game DIR\n");
}

TEST_F(CliGames, FoundChoosesTheNthGameAndStartUpTheFirst) {
    Result r = Run({"list"});
    EXPECT_EQ(r.out, "List1: Bob Newbie\nList1: Daisy Newbie\n")
        << "~/.wine's, through its registry";
    r = Run({"--found", "2", "list"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "List1: Ada Legacy\nList1: Max Legacy\n");
    r = Run({"--found", "5", "--hood", "3", "list"});
    EXPECT_EQ(r.out, "List1: Mortimer Goth\nList1: Cassandra Goth\n");
    r = Run({"--found", "2", "hoods"});
    EXPECT_EQ(r.out, "Combo1: Neighbourhood 1\nCombo1: Neighbourhood 2\n");

    r = Run({"--found", "9", "list"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, "adultify-cli: no game 9 (games lists 8)\n");
}

TEST_F(CliGames, CyrillicAndJapaneseNamesReadRightInListAndShow) {
    Result r = Run({"--found", "4", "list"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "List1: Борис Иванов\nList1: Маша Иванов\n");
    r = Run({"--found", "4", "show", "1"});
    EXPECT_NE(r.out.find("Frame2: Personal Infomation for Маша Иванов\n"), std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("List2: Filename:user00002\n"), std::string::npos);
    EXPECT_NE(r.out.find("Command1: enabled\n"), std::string::npos) << "a child";

    r = Run({"--found", "8", "list"});
    EXPECT_EQ(r.out, "List1: 太郎 山田\nList1: 花子 山田\n");
    r = Run({"--found", "8", "show", "0"});
    EXPECT_EQ(r.out.substr(0, r.out.find('\n')), "Frame2: Personal Infomation for 太郎 山田");

    // The neighbourhood folder of the Cyrillic game, given by hand, is read in its prefix's
    // code page too.
    r = Run({"--game", h.nonSteamGame.string(), "list"});
    EXPECT_EQ(r.out, "List1: Борис Иванов\nList1: Маша Иванов\n");
}

TEST_F(CliGames, CodepageReadsTheSameBytesInAnotherCodePageAndChangesNone) {
    const fs::path maria = h.nonSteamGame / "UserData" / "Characters" / "User00002.iff";
    Result r = Run({"--codepage", "1252", "--found", "4", "list"});
    EXPECT_EQ(r.out, "List1: Áîðèñ Èâàíîâ\nList1: Ìàøà Èâàíîâ\n");
    r = Run({"--codepage", "1252", "games"});
    EXPECT_NE(r.out.find("4\tsteam\tC:\\Игры\\The Sims\\\t1,4\t1252\n"), std::string::npos);

    r = Run({"--found", "4", "--yes", "adultify", "1"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("List1: Маша Иванов\n"), std::string::npos) << r.out;
    const Bytes after = test::ReadBytes(maria);
    const Bytes name = ToBytes("\xCC\xE0\xF8\xE0"); // Маша in code page 1251
    EXPECT_NE(std::search(after.begin(), after.end(), name.begin(), name.end()), after.end())
        << "the name's bytes stay as the game wrote them";
}

TEST_F(CliGames, AGameFolderIsWhereTheNeighbourhoodsAre) {
    Result r = Run({"--game", h.steamSaves.string(), "list"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "List1: Ada Legacy\nList1: Max Legacy\n") << "the re-release has no Sims.exe";
    r = Run({"--game", (h.steamSaves / "UserData").string(), "list"});
    EXPECT_EQ(r.code, 2);
    EXPECT_EQ(r.err, "MsgBox Invalid Directory: Cannot find SIMS.EXE.\\n" +
                         (h.steamSaves / "UserData").string() +
                         "\\nIt holds no Sims.exe and no neighbourhood folder (UserData, "
                         "UserData2, ... with a Neighborhood.iff).\n");
}

TEST_F(CliGames, BadChoicesAreUsageErrors) {
    for (const std::vector<std::string>& args :
         std::vector<std::vector<std::string>>{{"--found", "0", "list"},
                                               {"--found", "two", "list"},
                                               {"--codepage", "1", "list"},
                                               {"--codepage", "4294968548", "list"},
                                               {"--game", "x", "--found", "1", "list"},
                                               {"games", "extra"}}) {
        const Result r = Run(args);
        EXPECT_EQ(r.code, 1) << args[0] << " " << args[1];
        EXPECT_NE(r.err.find("usage: adultify-cli"), std::string::npos);
    }
    const Result help = Run({"--help"});
    EXPECT_NE(help.out.find("--found N"), std::string::npos);
    EXPECT_NE(help.out.find("| games"), std::string::npos);
}

} // namespace
} // namespace adultify
