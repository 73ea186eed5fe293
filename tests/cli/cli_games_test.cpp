// adultify-cli on a generated home with the game in every place: `games`, --found, --codepage.
#include "sample/home_folder.h"
#include "tests/support/cli_run.h"
#include "tests/support/skip_on_windows.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace adultify {
namespace {

namespace fs = std::filesystem;

using test::Result;

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
    Result Run(const std::vector<std::string>& args) { return test::RunCliIn(args, env); }

    test::TempDir root;
    sample::SampleHome h;
    std::map<std::string, std::string> env;
};

// The order and the fields of each game: InstallSearch.FindsEverySourceOnceInOrder. Here what
// each argument list prints: the whole standard output, else a part of it, and a part of
// standard error.
TEST_F(CliGames, EachArgumentListFindsItsGameAndReadsItsNames) {
    const std::string games =
        "1\tregistry\tC:\\Program Files (x86)\\Maxis\\The Sims\\\t1\t1252\n"
        "2\tre-release\tC:\\users\\steamuser\\Saved Games\\Electronic Arts\\The Sims 25\\\t1,2\t"
        "1252\n"
        "3\tre-release\tC:\\users\\steamuser\\Saved Games\\Electronic Arts\\The Sims 25\\\t3\t"
        "1252\n"
        "4\tsteam\tC:\\Игры\\The Sims\\\t1,4\t1251\n"
        "5\tbottles\tC:\\Program Files\\Maxis\\The Sims\\\t1,2,3\t1252\n"
        "6\tbottles\tC:\\users\\player\\Saved Games\\Electronic Arts\\The Sims 25\\\t2\t1252\n"
        "7\tlutris\tC:\\users\\player\\Saved Games\\Electronic Arts\\The Sims 25\\\t7\t1252\n"
        "8\theroic\tD:\\Games\\The Sims\\\t1\t932\n";
    const std::string ivanovs = "List1: Борис Иванов\nList1: Маша Иванов\n";
    const std::string legacy = "List1: Ada Legacy\nList1: Max Legacy\n";
    const std::string notAGame = (h.steamSaves / "UserData").string();
    const std::string usage = "usage: adultify-cli";
    struct Case {
        std::vector<std::string> args;
        int code;
        std::string out; // the whole standard output, or with `part` a part of it
        std::string err = "";
        bool part = false;
    };
    const std::vector<Case> cases = {
        {{"games"}, 0, games},
        {{"--game", h.bottleGame.string(), "games"}, 0, games},    // a game given changes nothing
        {{"list"}, 0, "List1: Bob Newbie\nList1: Daisy Newbie\n"}, // ~/.wine's, by its registry
        {{"--found", "2", "list"}, 0, legacy},
        {{"--found", "5", "--hood", "3", "list"},
         0,
         "List1: Mortimer Goth\nList1: Cassandra Goth\n"},
        {{"--found", "2", "hoods"}, 0, "Combo1: Neighbourhood 1\nCombo1: Neighbourhood 2\n"},
        {{"--found", "9", "list"}, 2, "", "adultify-cli: no game 9 (games lists 8)\n"},
        // Cyrillic and Japanese names, also in a neighbourhood folder given by hand.
        {{"--found", "4", "list"}, 0, ivanovs},
        {{"--found", "4", "show", "1"},
         0,
         "Frame2: Personal Infomation for Маша Иванов\n",
         "",
         true},
        {{"--found", "4", "show", "1"}, 0, "List2: Filename:user00002\n", "", true},
        {{"--found", "4", "show", "1"}, 0, "Command1: enabled\n", "", true},
        {{"--found", "8", "list"}, 0, "List1: 太郎 山田\nList1: 花子 山田\n"},
        {{"--found", "8", "show", "0"}, 0, "Frame2: Personal Infomation for 太郎 山田\n", "", true},
        {{"--game", h.nonSteamGame.string(), "list"}, 0, ivanovs},
        // --codepage reads the same bytes in another code page.
        {{"--codepage", "1252", "--found", "4", "list"},
         0,
         "List1: Áîðèñ Èâàíîâ\nList1: Ìàøà Èâàíîâ\n"},
        {{"--codepage", "1252", "games"},
         0,
         "4\tsteam\tC:\\Игры\\The Sims\\\t1,4\t1252\n",
         "",
         true},
        // A game folder is where the neighbourhoods are: the re-release has no Sims.exe.
        {{"--game", h.steamSaves.string(), "list"}, 0, legacy},
        {{"--game", notAGame, "list"},
         2,
         "",
         "MsgBox Invalid Directory: Cannot find SIMS.EXE.\\n" + notAGame +
             "\\nIt holds no Sims.exe and no neighbourhood folder (UserData, UserData2, ... with a "
             "Neighborhood.iff).\n"},
        {{"--found", "0", "list"}, 1, "", usage},
        {{"--found", "two", "list"}, 1, "", usage},
        {{"--codepage", "1", "list"}, 1, "", usage},
        {{"--codepage", "4294968548", "list"}, 1, "", usage},
        {{"--game", "x", "--found", "1", "list"}, 1, "", usage},
        {{"games", "extra"}, 1, "", usage},
        {{"--help"}, 0, "--found N", "", true},
        {{"--help"}, 0, "| games", "", true},
    };
    for (const Case& c : cases) {
        std::string label;
        for (const std::string& arg : c.args)
            label += arg + " ";
        SCOPED_TRACE(label);
        const Result r = Run(c.args);
        EXPECT_EQ(r.code, c.code) << r.err;
        if (c.part) {
            EXPECT_NE(r.out.find(c.out), std::string::npos) << r.out;
        } else {
            EXPECT_EQ(r.out, c.out);
        }
        EXPECT_NE(r.err.find(c.err), std::string::npos) << r.err;
    }
}

TEST_F(CliGames, WithoutAGameFoundEverySearchedPlaceIsNamed) {
    env["HOME"] = (root.path() / "nobody").string();
    const Result none = Run({"games"});
    EXPECT_EQ(none.code, 2);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err,
              "adultify-cli: no game found in the registry, the folders chosen before, the "
              "re-release's save folder, Steam, Bottles, Lutris, Heroic or Wine prefixes; give "
              "the game folder with --game DIR\n");
}

// A name's bytes stay as the game wrote them in its code page.
TEST_F(CliGames, AdultifyInACyrillicGameKeepsTheNamesBytes) {
    const Result r = Run({"--found", "4", "--yes", "adultify", "1"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_NE(r.out.find("List1: Маша Иванов\n"), std::string::npos) << r.out;
    const Bytes after =
        test::ReadBytes(h.nonSteamGame / "UserData" / "Characters" / "User00002.iff");
    EXPECT_GT(FindBytes(after, "\xCC\xE0\xF8\xE0", 1), 0); // Маша in code page 1251
}

} // namespace
} // namespace adultify
