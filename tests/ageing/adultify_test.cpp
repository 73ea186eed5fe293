#include "ageing/adultify.h"

#include "hood/get_people.h"
#include "hood/resident_view.h"
#include "iff/chunk_search.h"
#include "iff/native_file_system.h"
#include "sample/iff_check.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

#include <numeric>

namespace adultify {
namespace {

namespace fs = std::filesystem;
using test::SampleGame;
using test::Sim;
using test::SmallHood;

sample::SimSpec Child() {
    sample::SimSpec c = Sim("user00004", "Jo", 9, 0x91929394);
    c.careerLevel = 5;
    c.personality = {100, 200, 300, 400, 500};
    c.skills = {11, 12, 13, 14, 15, 16};
    return c;
}

// The character file as the game would have it after the child grew up, built by hand:
// "child" becomes "adult", and "9" becomes "27" with the bytes after it moved on by one.
Bytes ExpectedCharacter(Bytes file) {
    const Position q = FindChunk(file, "STR#", 200, 0x0010);
    std::copy_n("adult", 5, file.begin() + (q + 81 - 1));
    const Position nine = FindBytes(file, Bytes{1, '9', 0, 0}, q + 81);
    const auto e = static_cast<std::size_t>(q + ChunkSize16(file, q) - 3); // 1-based
    Bytes shifted(file.begin(), file.begin() + nine);                      // up to and with the 01
    shifted.insert(shifted.end(), {'2', '7'});
    shifted.insert(shifted.end(), file.begin() + (nine + 1),
                   file.begin() + static_cast<std::ptrdiff_t>(e) - 1);
    shifted.insert(shifted.end(), file.begin() + static_cast<std::ptrdiff_t>(e), file.end());
    return shifted;
}

class AdultifyTest : public ::testing::Test {
  protected:
    AdultifyTest()
        : g(SampleGame::OneHood(SmallHood({Sim("user00001", "Bob", 27, 0x81828384), Child()},
                                          {"Newbie", "Newbie"}))) {
        hoodBefore = test::ReadBytes(g.HoodFolder() / "Neighborhood.iff");
        characterBefore = test::ReadBytes(g.CharacterPath(Child()));
        g.ChooseHood();
        g.ClickResident(1);
    }
    void Run() { (void)DispatchEvent(g.app.m, "Command1", UiEvent::Click); }
    Bytes HoodNow() { return test::ReadBytes(g.HoodFolder() / "Neighborhood.iff"); }
    Bytes CharacterNow() { return test::ReadBytes(g.CharacterPath(Child())); }
    void ExpectNothingChanged() {
        EXPECT_EQ(HoodNow(), hoodBefore);
        EXPECT_EQ(CharacterNow(), characterBefore);
        EXPECT_FALSE(fs::exists(g.HoodFolder() / "Neighborhood.000"));
        EXPECT_EQ(g.app.m.HoodData, hoodBefore) << "the in-memory changes are undone";
        for (const auto& msg : g.app.ui.Messages())
            EXPECT_NE(msg.title, "Completed");
    }
    SampleGame g;
    Bytes hoodBefore, characterBefore;
};

TEST_F(AdultifyTest, TheChildGrowsUpInBothFilesByteForByte) {
    g.app.ui.SetChecked("menu_personality", false);
    Run();
    const Position u = FindBytes(hoodBefore, "user00004", 1);
    Bytes expected = hoodBefore;
    auto set = [&](int offset, std::uint8_t v) {
        expected[static_cast<std::size_t>(u + offset - 1)] = v;
    };
    set(134, 27);
    set(130, 0);
    set(131, 0);
    set(132, 0);
    for (int offset : {38, 42, 40, 52, 54, 48}) {
        set(offset, 0);
        set(offset + 1, 0);
    }
    EXPECT_EQ(HoodNow(), expected);
    EXPECT_EQ(test::ReadBytes(g.HoodFolder() / "Neighborhood.000"), hoodBefore)
        << "the backup is the old file";
    EXPECT_EQ(CharacterNow(), ExpectedCharacter(characterBefore));
    EXPECT_EQ(CharacterNow().size(), characterBefore.size());
    EXPECT_TRUE(sample::CheckIff(CharacterNow()).chunks.size() ==
                sample::CheckIff(characterBefore).chunks.size());

    EXPECT_EQ(g.app.ui.ListItems("List2"),
              (std::vector<std::string>{"Starting Adultify process", "Searching Neighbourhood",
                                        "Found.", "Initiating Adultify process", "Unemploying Sim",
                                        "Adjusting Skills", "Continuing Adultify Process",
                                        "with USERxxxxx.IFF", "Doing byte shuffle",
                                        "Adultify completed. Saving Files",
                                        "Backing up Neighbourhood", "Adultify is Finished"}));
    ASSERT_EQ(g.app.ui.Messages().size(), 1u);
    EXPECT_EQ(g.app.ui.Messages()[0].text, "Sucess. Your child has grown up.");
    EXPECT_EQ(g.app.ui.Messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(g.app.ui.Messages()[0].title, "Completed");
    EXPECT_FALSE(g.app.ui.IsEnabled("Command1"));
    EXPECT_EQ(g.app.ui.ListCount("List1"), 2);
    EXPECT_EQ(SelectedResident(g.app.m), -1);
    EXPECT_EQ(g.app.m.People[1].Age[0], 27) << "read again from the saved file";
}

TEST_F(AdultifyTest, ANewPersonalityOfThirtyPoints) {
    Run();
    const Bytes now = HoodNow();
    const Position u = FindBytes(now, "user00004", 1);
    int sum = 0;
    for (int offset : {22, 24, 28, 30, 32}) {
        const unsigned v = ReadU16LE(now, u + offset);
        EXPECT_EQ(v % 100, 0u);
        EXPECT_LE(v, 1000u);
        sum += static_cast<int>(v);
    }
    EXPECT_EQ(sum, 3000);
    EXPECT_EQ(ReadU16LE(now, u + 26), ReadU16LE(hoodBefore, u + 26))
        << "the slot between Active and Playful";
    EXPECT_EQ(g.app.ui.ListItems("List2")[5], "Adjusting Personality due to life experience");
}

TEST_F(AdultifyTest, AMissingCharacterFileStillGrowsUpInTheNeighbourhood) {
    fs::remove(g.CharacterPath(Child()));
    Run();
    EXPECT_EQ(ByteAt(HoodNow(), FindBytes(HoodNow(), "user00004", 1) + 134), 27);
    EXPECT_EQ(g.app.ui.Messages().back().title, "Completed");
}

TEST_F(AdultifyTest, WithoutASelectionNothingChangesButSuccessIsStillReported) {
    g.app.ui.ListSelect("List1", -1);
    Run();
    EXPECT_EQ(g.app.ui.ListItems("List2"),
              (std::vector<std::string>{"Starting Adultify process", "Searching Neighbourhood",
                                        "Adultify is Finished"}));
    EXPECT_EQ(HoodNow(), hoodBefore);
    EXPECT_EQ(g.app.ui.Messages().back().title, "Completed");
}

TEST_F(AdultifyTest, TablesTheShiftCannotHandleChangeNothingAndSaySo) {
    const Position q = FindChunk(characterBefore, "STR#", 200, 0x0010);
    struct Case {
        const char* what;
        Bytes file;
        const char* says;
    } cases[] = {
        {"no table",
         [&] {
             Bytes f = characterBefore;
             f[static_cast<std::size_t>(q + 10)] = 0;
             return f;
         }(),
         "has no body-string table"},
        {"no 9 entry",
         [&] {
             Bytes f = characterBefore;
             f[static_cast<std::size_t>(FindBytes(f, Bytes{1, '9', 0, 0}, q))] = '8';
             return f;
         }(),
         "no body string \"9\""},
        {"9 past the table",
         [&] {
             Bytes f = characterBefore;
             f[static_cast<std::size_t>(FindBytes(f, Bytes{1, '9', 0, 0}, q))] = '8';
             const Bytes stray = {1, '9', 0, 0};
             std::copy(stray.begin(), stray.end(), f.end() - 200);
             return f;
         }(),
         "outside the body-string table"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::WriteBytes(g.CharacterPath(Child()), c.file);
        characterBefore = c.file;
        const std::size_t messages = g.app.ui.Messages().size();
        g.ClickResident(1);
        Run();
        ExpectNothingChanged();
        ASSERT_EQ(g.app.ui.Messages().size(), messages + 1);
        const MessageRecord& msg = g.app.ui.Messages().back();
        EXPECT_EQ(msg.icon, MsgIcon::Critical);
        EXPECT_NE(msg.text.find("User00004.iff"), std::string::npos) << msg.text;
        EXPECT_NE(msg.text.find(c.says), std::string::npos) << msg.text;
        EXPECT_FALSE(g.app.ui.Ended());
    }
}

// Both files change, or neither: whichever single write fails.
TEST(AdultifyFailures, EveryFailurePointLeavesBothFilesAsTheyWere) {
    for (int failAt = 0;; ++failAt) {
        SCOPED_TRACE("failing operation " + std::to_string(failAt));
        NativeFileSystem native;
        test::FaultyFileSystem faulty(native);
        SampleGame g(SampleGame::OneHood(SmallHood({Child()})), &faulty);
        const Bytes hood = test::ReadBytes(g.HoodFolder() / "Neighborhood.iff");
        const Bytes character = test::ReadBytes(g.CharacterPath(Child()));
        g.ChooseHood();
        g.ClickResident(0);
        faulty.operations = 0;
        faulty.failAt = failAt;
        (void)DispatchEvent(g.app.m, "Command1", UiEvent::Click);
        const bool done = g.app.ui.Messages().back().title == "Completed";
        const Bytes hoodNow = test::ReadBytes(g.HoodFolder() / "Neighborhood.iff");
        const Bytes characterNow = test::ReadBytes(g.CharacterPath(Child()));
        if (done) {
            EXPECT_NE(hoodNow, hood);
            EXPECT_EQ(characterNow, ExpectedCharacter(character));
            EXPECT_EQ(failAt, faulty.operations) << "only a run without a failure completes";
            break;
        }
        EXPECT_EQ(hoodNow, hood);
        EXPECT_EQ(characterNow, character);
        EXPECT_EQ(g.app.m.failedWrites, 1);
        EXPECT_EQ(g.app.m.HoodData, hood);
        ASSERT_LT(failAt, 20);
    }
}

TEST(EditBodyStrings, ShiftsOnePlaceUpToTheThirdFromLastByte) {
    // STR# 200 whose data is: FD FF, count 2, entries "9" and "A", then pad bytes.
    Bytes chunk = {'S', 'T', 'R', '#', 0, 0, 0, 0, 0x00, 0xC8, 0x00, 0x10};
    chunk.resize(76, 0);
    const Bytes data = {0xFD, 0xFF, 2, 0, 1, 'c', 'h', 'i', 'l',  'd',  0,    0,
                        1,    '9',  0, 0, 1, 'A', 0,   0,   0xA1, 0xA2, 0xA3, 0xA4};
    chunk.insert(chunk.end(), data.begin(), data.end());
    chunk[7] = static_cast<std::uint8_t>(chunk.size());
    Bytes file = ToBytes("head");
    file.insert(file.end(), chunk.begin(), chunk.end());
    file.insert(file.end(), {'t', 'a', 'i', 'l'});

    Bytes edited = file;
    ASSERT_TRUE(EditBodyStrings(edited).ok);
    const Bytes expectedData = {0xFD, 0xFF, 2,   0, 1, 'a', 'd', 'u', 'l', 't',  0,    0,
                                1,    '2',  '7', 0, 0, 1,   'A', 0,   0,   0xA1, 0xA3, 0xA4};
    Bytes expected = ToBytes("head");
    expected.insert(expected.end(), chunk.begin(), chunk.begin() + 76);
    expected.insert(expected.end(), expectedData.begin(), expectedData.end());
    expected.insert(expected.end(), {'t', 'a', 'i', 'l'});
    EXPECT_EQ(edited, expected) << "the byte at E is lost, the last two are untouched";
}

TEST(EditBodyStrings, OnlyTheFirstNineAndOnlyALowerCaseChild) {
    Bytes chunk = {'S', 'T', 'R', '#', 0, 0, 0, 0, 0x00, 0xC8, 0x00, 0x10};
    chunk.resize(76, 0);
    const Bytes data = {0xFD, 0xFF, 3, 0, 1, 'C', 'h', 'i', 'l',  'd',  0,   0,
                        1,    '9',  0, 0, 1, '9', 0,   0,   0xA3, 0xA3, 0xA3};
    chunk.insert(chunk.end(), data.begin(), data.end());
    chunk[7] = static_cast<std::uint8_t>(chunk.size());
    ASSERT_TRUE(EditBodyStrings(chunk).ok);
    EXPECT_EQ(FindBytes(chunk, "Child", 1), 82);
    EXPECT_EQ(FindBytes(chunk, Bytes{1, '2', '7', 0, 0, 1, '9', 0, 0}, 1), 89);
}

TEST(EditBodyStrings, NoEndAtAllIsTheFatalCase) {
    Bytes file = {'S', 'T', 'R', '#', 0, 0, 0, 0, 0x00, 0xC8, 0x00, 0x10};
    file.resize(120, 0);
    const BodyStringEdit r = EditBodyStrings(file);
    EXPECT_FALSE(r.ok);
    EXPECT_TRUE(r.fatal);
}

TEST(DrawPersonality, FiveTraitsOfAtMostTenSummingToThirty) {
    test::HeadlessApp app;
    for (int seed = 0; seed < 200; ++seed) {
        app.clock.Advance(0.37);
        const auto traits = DrawPersonality(app.m);
        EXPECT_EQ(std::accumulate(traits.begin(), traits.end(), 0), 30);
        for (int t : traits) {
            EXPECT_GE(t, 0);
            EXPECT_LE(t, 10);
        }
    }
}

} // namespace
} // namespace adultify
