#include "sample/game_model.h"
#include "sample/iff_check.h"

#include <gtest/gtest.h>

namespace adultify::sample {
namespace {

TEST(Sample, EveryGeneratedFileIsStructurallySound) {
    for (const bool variants : {false, true}) {
        SCOPED_TRACE(variants ? "players' variants" : "later editions");
        RandomHoodParams params;
        params.residents = 40;
        params.families = 9;
        params.children = 10;
        params.baseGameRecords = 5;
        params.fillerBytes = 3000;
        params.playersVariants = variants;
        const HoodSpec hood = RandomHood(params);

        const IffReport report = CheckIff(NeighbourhoodFile(hood));
        EXPECT_TRUE(report.problems.empty()) << report.problems.front();
        EXPECT_EQ(report.chunks.front().type, "NGBH");
        EXPECT_EQ(report.chunks.back().type, "rsmp");
        EXPECT_EQ(report.unlisted, variants ? 12u + 9u : 0u) << "old copies ahead, second FAMh";
        for (const SimSpec& sim : hood.sims) {
            const IffReport character = CheckIff(CharacterFile(sim));
            ASSERT_TRUE(character.problems.empty())
                << sim.userFile << ": " << character.problems.front();
            int stale = 0;
            for (const auto& c : character.chunks)
                stale += c.type == "XXXX";
            EXPECT_EQ(stale, sim.staleChunks);
        }
    }
}

// A child's record and files as the later editions and as players' variants lay them out: the
// record's version 10 or 4 (person data 7, the GUID at +180), NBRS and FAMI versions, 35 or 34
// body strings, a name table in language 1 or 2.
TEST(Sample, RecordsFollowTheRealLayouts) {
    struct Case {
        bool variants;
        std::vector<std::uint8_t> before; // the 12 bytes before the user file's name
        int personData, guidAt, nbrs, fami;
        std::size_t bodyStrings;
        int language;
    };
    for (const Case& c :
         {Case{false, {1, 0, 0, 0, 10, 0, 0, 0, 9, 0, 0, 0}, 9, 532, 0x49, 9, 35, 1},
          Case{true, {0, 0, 0, 0, 1, 0, 0, 0, 4, 0, 0, 0}, 7, 180, 0x44, 8, 34, 2}}) {
        SCOPED_TRACE(c.variants ? "players' variants" : "later editions");
        HoodSpec hood = OneFamily("Newbie", {Sim("user00023", "Bob", 9, 0x81828384)});
        if (c.variants) MixPlayersVariants(hood);
        const Bytes file = NeighbourhoodFile(hood);
        const Position u = FindBytes(file, "user00023", 1);
        ASSERT_GT(u, 12);
        // A plain vector: GCC 12 at -O3 misreads the copy into Bytes' allocator as an overflow.
        const std::vector<std::uint8_t> before(file.begin() + (u - 13), file.begin() + (u - 1));
        EXPECT_EQ(before, c.before);
        EXPECT_EQ(ByteAt(file, u + 14), c.personData) << "person data version";
        EXPECT_EQ(ReadU16LE(file, u + 134), 9u);
        EXPECT_EQ(ByteAt(file, u + c.guidAt), 0x84) << "the GUID";
        EXPECT_EQ(ByteAt(file, FindCheckedChunk(file, "NBRS", 1).value().offset + 76 + 5), c.nbrs);
        EXPECT_EQ(ByteAt(file, FindCheckedChunk(file, "FAMI", 1).value().offset + 76 + 5), c.fami);

        const Bytes character = CharacterFile(hood.sims[0]);
        const CheckedChunk table = FindCheckedChunk(character, "STR#", 200).value();
        const std::vector<std::string> bodyStrings = StringTableValues(Bytes(
            character.begin() + table.offset + 76, character.begin() + table.offset + table.size));
        ASSERT_EQ(bodyStrings.size(), c.bodyStrings);
        EXPECT_EQ(bodyStrings[0], "child");
        EXPECT_EQ(bodyStrings[13], "9");
        const CheckedChunk names = FindCheckedChunk(character, "CTSS", 2000).value();
        EXPECT_EQ(ByteAt(character, names.offset + 76 + 5), c.language) << "the language byte";
    }
}

TEST(IffCheck, NoticesBrokenFiles) {
    Bytes file = CharacterFile(SimSpec{});
    Bytes cut = file;
    cut.resize(cut.size() - 1);
    EXPECT_FALSE(CheckIff(cut).problems.empty());
    Bytes renamed = file;
    const Position p = FindBytes(renamed, "CTSS", 1);
    SetByteAt(renamed, p, 'X');
    SetByteAt(renamed, p + 1, 'X');
    SetByteAt(renamed, p + 2, 'X');
    SetByteAt(renamed, p + 3, 'X');
    EXPECT_FALSE(CheckIff(renamed).problems.empty()) << "the rsmp still lists the chunk";
}

} // namespace
} // namespace adultify::sample
