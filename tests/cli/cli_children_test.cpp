// Children across neighbourhoods, and several grown up in one run.
#include "tests/cli/children_game.h"

namespace adultify {
namespace {

using test::Result;
namespace fs = std::filesystem;

using CliChildrenTest = test::ChildrenGame;

// Several at once grow up each as alone:
// ChildrenWindowTest.ThreeInTwoNeighbourhoodsGrowUpAsEachAloneWould (one rule, app/grow_up, for
// both). Here the summary each outcome prints.
TEST_F(CliChildrenTest, EachArgumentListPrintsItsChildrenOrOutcomes) {
    struct Case {
        std::vector<std::string> args;
        const char* readOnly; // a character file of neighbourhood 1 the program may not change
        int code;
        std::string out; // a refusal's reason follows "refused: "
        std::vector<const char*> unchanged;
        bool hoodChanges = false; // neighbourhood 1's file
    };
    const std::string children = "1\t1\tNewbie\tRenée Newbie\n1\t2\tGoth\tTom Goth\n"
                                 "1\t3\tGoth\tCass Goth\n2\t1\tPleasant\tLily Pleasant\n";
    const std::string goths = "2\tTom Goth\tgrown up\n3\tCass Goth\tgrown up\n";
    const std::string reneeAndCass = "1\tRenée Newbie\tgrown up\n3\tCass Goth\tgrown up\n";
    const std::string tomRefused =
        "1\tRenée Newbie\tgrown up\n2\tTom Goth\trefused: \n3\tCass Goth\tgrown up\n";
    const std::vector<Case> cases = {
        {{"children"}, nullptr, 0, children, {}},
        {{"grow-up-all", "--family", "Goth"}, nullptr, 0, goths, {"User00002.iff"}, true},
        {{"--hood", "2", "grow-up-all"}, nullptr, 0, "1\tLily Pleasant\tgrown up\n", {}},
        {{"adultify", "1", "3"}, nullptr, 0, reneeAndCass, {"User00003.iff"}, true},
        {{"grow-up-all"}, "User00003.iff", 6, tomRefused, {"User00003.iff"}, true},
        {{"adultify", "1", "0"}, nullptr, 2, "", {"User00002.iff"}},
        {{"grow-up-all", "--family", "Nobody"}, nullptr, 2, "", {}},
        {{"adultify", "1", "1"}, nullptr, 1, "", {}},
        {{"--family", "Goth", "list"}, nullptr, 1, "", {}},
    };
    for (const Case& c : cases) {
        test::TempDir game;
        test::CopyTreeInto(dir.path(), game.path());
        const fs::path characters = game.path() / "UserData" / "Characters";
        if (c.readOnly)
            fs::permissions(characters / c.readOnly, fs::perms::owner_write,
                            fs::perm_options::remove);
        const Result r = Run(c.args, game);
        const std::string label = c.args.back();
        EXPECT_EQ(r.code, c.code) << label << ": " << r.err;
        // A refusal names its reason; the rest of the summary is exact.
        std::string out = r.out;
        for (std::size_t at = 0; (at = out.find("refused: ", at)) != std::string::npos;) {
            at += 9;
            const std::size_t end = out.find('\n', at);
            EXPECT_GT(end, at) << label << ": a refusal without its reason";
            out.erase(at, end - at);
        }
        EXPECT_EQ(out, c.out) << label;
        for (const char* file : c.unchanged)
            EXPECT_EQ(test::ReadBytes(characters / file), test::ReadBytes(Character(file)))
                << label << ": " << file;
        const bool hoodChanged = test::ReadBytes(game.path() / "UserData" / "Neighborhood.iff") !=
                                 test::ReadBytes(dir.path() / "UserData" / "Neighborhood.iff");
        EXPECT_EQ(hoodChanged, c.hoodChanges) << label;
    }
}

} // namespace
} // namespace adultify
