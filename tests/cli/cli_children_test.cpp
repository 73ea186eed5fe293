// Children across neighbourhoods, and several grown up in one run, each as a single adultify.
#include "tests/cli/children_game.h"

namespace adultify {
namespace {

using test::Result;
namespace fs = std::filesystem;

using CliChildrenTest = test::ChildrenGame;

TEST_F(CliChildrenTest, ChildrenOfEveryNeighbourhood) {
    const Result r = Run({"children"});
    EXPECT_EQ(r.code, 0) << r.err;
    EXPECT_EQ(r.out, "1\t1\tNewbie\tRenée Newbie\n"
                     "1\t2\tGoth\tTom Goth\n"
                     "1\t3\tGoth\tCass Goth\n"
                     "2\t1\tPleasant\tLily Pleasant\n");
}

TEST_F(CliChildrenTest, SeveralGrowUpExactlyAsEachAloneWould) {
    test::TempDir alone;
    test::CopyTreeInto(dir.path(), alone.path());
    const Result batch = Run({"--seed", "7", "adultify", "1", "3"});
    EXPECT_EQ(batch.code, 0) << batch.err;
    EXPECT_EQ(batch.out, "1\tRenée Newbie\tgrown up\n3\tCass Goth\tgrown up\n");
    for (const char* k : {"1", "3"})
        ASSERT_EQ(Run({"--seed", "7", "adultify", k}, alone).code, 0);
    // The neighbourhood, its two backups and both character files, byte for byte.
    EXPECT_EQ(test::FilesUnder(dir.path()), test::FilesUnder(alone.path()));
    const Result snapshots = Run({"snapshots"});
    EXPECT_EQ(std::count(snapshots.out.begin(), snapshots.out.end(), '\n'), 2)
        << "one snapshot per child grown up";
}

TEST_F(CliChildrenTest, GrowUpAllOutcomes) {
    struct Case {
        std::vector<std::string> args;
        const char* readOnly; // a character file of neighbourhood 1 the program may not change
        int code;
        std::string out; // a refusal's reason follows "refused: "
        std::vector<const char*> unchanged;
        bool hoodChanges = false; // neighbourhood 1's file
    };
    const std::vector<Case> cases = {
        {{"grow-up-all", "--family", "Goth"},
         nullptr,
         0,
         "2\tTom Goth\tgrown up\n3\tCass Goth\tgrown up\n",
         {"User00002.iff"},
         true},
        {{"--hood", "2", "grow-up-all"}, nullptr, 0, "1\tLily Pleasant\tgrown up\n", {}},
        {{"grow-up-all"},
         "User00003.iff",
         6,
         "1\tRenée Newbie\tgrown up\n2\tTom Goth\trefused: \n3\tCass Goth\tgrown up\n",
         {"User00003.iff"},
         true},
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
