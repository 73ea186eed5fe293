#include "ageing/adultify.h"

#include "files/native_file_system.h"
#include "game/game_writes.h"
#include "game/snapshots.h"
#include "hood/get_people.h"
#include "hood/resident_view.h"
#include "sample/game_model.h"
#include "sample/iff_builder.h"
#include "sample/iff_check.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/sample_game.h"
#include "tests/support/stopped_run.h"
#include "text/ascii.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>
#include <numeric>

namespace adultify {
namespace {

namespace fs = std::filesystem;
using test::SampleGame;
using test::SmallHood;

sample::SimSpec Child() {
    sample::SimSpec c = test::Jo();
    c.careerLevel = 5;
    c.personality = {100, 200, 300, 400, 500};
    c.skills = {11, 12, 13, 14, 15, 16};
    return c;
}

using test::Bob;

// The child's character file once grown up: the generator's table with "adult" and "27", one
// of its identical pad bytes fewer so that the chunk keeps its size; all else as before.
Bytes GrownUpCharacter(const Bytes& before, bool playersVariants = false) {
    std::vector<std::string> values = sample::BodyStringValues(
        SmallHood({Bob(), Child()}, {"Newbie", "Newbie"}, playersVariants).sims[1]);
    values[0] = "adult";
    values[13] = "27";
    std::vector<sample::StringEntry> entries;
    for (const std::string& v : values)
        entries.push_back({1, v, ""});
    Bytes table = sample::StringTable(entries);
    table.pop_back();
    const sample::CheckedChunk c = sample::FindCheckedChunk(before, "STR#", 200).value();
    EXPECT_EQ(table.size() + 76, c.size);
    Bytes expected = before;
    std::copy(table.begin(), table.end(), expected.begin() + c.offset + 76);
    return expected;
}

// The neighbourhood as the generator writes it for the grown-up: age 27, no career, no skills.
Bytes GrownUpHood(bool playersVariants = false) {
    sample::SimSpec adult = Child();
    adult.age = 27;
    adult.careerLevel = 0;
    adult.skills = {};
    return sample::NeighbourhoodFile(
        SmallHood({Bob(), adult}, {"Newbie", "Newbie"}, playersVariants));
}

// Over the later editions' files and over those with the variants of players' files.
class AdultifyTest : public ::testing::TestWithParam<bool> {
  protected:
    AdultifyTest()
        : g(SampleGame::OneHood(SmallHood({Bob(), Child()}, {"Newbie", "Newbie"}, GetParam()))) {
        hoodBefore = test::ReadBytes(g.HoodFolder() / "Neighborhood.iff");
        characterBefore = test::ReadBytes(g.CharacterPath(Child()));
        g.ChooseHood();
        g.ClickResident(1);
    }
    void Run() { (void)DispatchEvent(g.app.run(), "Command1", UiEvent::Click); }
    Bytes HoodNow() { return test::ReadBytes(g.HoodFolder() / "Neighborhood.iff"); }
    Bytes CharacterNow() { return test::ReadBytes(g.CharacterPath(Child())); }
    SampleGame g;
    Bytes hoodBefore, characterBefore;
};
ADULTIFY_OVER_BOTH_FILE_KINDS(AdultifyTest);

TEST_P(AdultifyTest, TheChildGrowsUpInBothFilesByteForByte) {
    g.app.ui.SetChecked("menu_personality", false);
    Run();
    EXPECT_EQ(HoodNow(), GrownUpHood(GetParam()));
    EXPECT_EQ(test::ReadBytes(g.HoodFolder() / "Neighborhood.000"), hoodBefore)
        << "the backup is the old file";
    EXPECT_EQ(CharacterNow(), GrownUpCharacter(characterBefore, GetParam()));

    // The log, then the grown-up resident as the view shows it.
    EXPECT_EQ(g.app.ui.ListItems("List2"),
              (std::vector<std::string>{
                  "Starting Adultify process", "Searching Neighbourhood", "Found.",
                  "Initiating Adultify process", "Unemploying Sim", "Adjusting Skills",
                  "Continuing Adultify Process", "with USERxxxxx.IFF", "Doing byte shuffle",
                  "Adultify completed. Saving Files", "Backing up Neighbourhood",
                  "Adultify is Finished", "Filename:user00004", "Gender: Male",
                  "Career: Unemployed", "Career Level: 0", "Age: Adult", "      "}));
    ASSERT_EQ(g.app.ui.Messages().size(), 1u);
    EXPECT_EQ(g.app.ui.Messages()[0].text, "Sucess. Your child has grown up.");
    EXPECT_EQ(g.app.ui.Messages()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(g.app.ui.Messages()[0].title, "Completed");
    EXPECT_FALSE(g.app.ui.IsEnabled("Command1"));
    EXPECT_EQ(g.app.ui.ListCount("List1"), 2);
    EXPECT_EQ(SelectedResident(g.app.m), 1) << "the grown-up, selected again";
    EXPECT_EQ(g.app.ui.Focused("Form1"), ControlId("List1"));
    EXPECT_EQ(g.app.ui.Caption("Frame2"), "Personal Infomation for Jo Newbie");
    EXPECT_EQ(g.app.ui.Caption("Label7"), "100") << "the personality kept";
    EXPECT_EQ(g.app.ui.Caption("Label18"), "0") << "the skills cleared";
    EXPECT_TRUE(g.app.ui.IsEnabled("Label18")) << "an adult's skills can be changed";
    EXPECT_EQ(g.app.ui.Picture("Picture1").kind, HeadlessPicture::Kind::Bitmap);
    EXPECT_EQ(g.app.m.hood.People[1].Age[0], 27) << "read again from the saved file";
}

TEST_P(AdultifyTest, ANewPersonalityOfThirtyPoints) {
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

TEST_P(AdultifyTest, AMissingCharacterFileStillGrowsUpInTheNeighbourhood) {
    fs::remove(g.CharacterPath(Child()));
    g.ClickResident(1);
    Run();
    EXPECT_EQ(ByteAt(HoodNow(), FindBytes(HoodNow(), "user00004", 1) + 134), 27);
    EXPECT_EQ(g.app.ui.Messages().back().title, "Completed");
}

TEST_P(AdultifyTest, ACharacterFileThatIsAFolderOrAPipeIsRefusedAndNothingChanges) {
    std::filesystem::remove(g.CharacterPath(Child()));
    std::filesystem::create_directories(g.CharacterPath(Child()));
    g.ClickResident(1);
    Run();
    EXPECT_EQ(HoodNow(), hoodBefore);
    ASSERT_FALSE(g.app.ui.Messages().empty());
    EXPECT_EQ(g.app.ui.Messages().back().title, "Nothing Changed");
    EXPECT_NE(g.app.ui.Messages().back().text.find("User00004.iff"), std::string::npos);
    EXPECT_EQ(g.app.m.outcomes.refusals, 1);
    EXPECT_EQ(g.app.m.hood.HoodData, hoodBefore);
}

// Refused before its work, or failing in it: no success, no file changed, and the log's last
// line and the status line say why nothing was saved.
TEST(AdultifyRefusals, AskFirstAndEndTheLogWithWhyNothingWasSaved) {
    struct Case {
        const char* how;
        std::function<void(SampleGame&, test::FaultyFileSystem&)> arrange;
        const char* said;
        bool asksBeforeAnyLine;
    } cases[] = {
        {"the game running, No answered",
         [](SampleGame& g, test::FaultyFileSystem&) {
             g.app.m.findRunningGame = [] { return std::optional<std::string>("Sims.exe"); };
         },
         "Nothing was saved: the game is running.", true},
        {"another run holding the game",
         [](SampleGame& g, test::FaultyFileSystem& files) {
             ReleaseGame(g.app.m);
             files.heldByAnotherRun = true;
         },
         "Nothing was saved: another Adultify is editing this game.", true},
        {"a read-only neighbourhood file",
         [](SampleGame& g, test::FaultyFileSystem&) {
             fs::permissions(g.HoodFolder() / "Neighborhood.iff", fs::perms::owner_read);
         },
         "Nothing was saved: the folder is read-only.", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        NativeFileSystem native;
        test::FaultyFileSystem files(native);
        SampleGame g(SampleGame::OneHood(SmallHood({Bob(), Child()}, {"Newbie", "Newbie"})),
                     &files);
        const Bytes hood = test::ReadBytes(g.HoodFolder() / "Neighborhood.iff");
        const Bytes character = test::ReadBytes(g.CharacterPath(Child()));
        g.ChooseHood();
        g.ClickResident(1);
        c.arrange(g, files);
        int linesWhenAsked = -1;
        g.app.ui.onMessage = [&](const MessageRecord&) {
            if (linesWhenAsked < 0) linesWhenAsked = g.app.ui.ListCount("List2");
        };
        (void)DispatchEvent(g.app.run(), "Command1", UiEvent::Click);
        const std::vector<std::string> log = g.app.ui.ListItems("List2");
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.back(), c.said);
        EXPECT_EQ(g.app.ui.Caption("Label3"), c.said);
        EXPECT_EQ(std::count(log.begin(), log.end(), "Adultify is Finished"), 0);
        if (c.asksBeforeAnyLine) {
            EXPECT_EQ(linesWhenAsked, 0) << "the question comes before any line";
            EXPECT_EQ(log.size(), 1u);
        }
        for (const MessageRecord& msg : g.app.ui.Messages())
            EXPECT_NE(msg.title, "Completed");
        EXPECT_EQ(test::ReadBytes(g.HoodFolder() / "Neighborhood.iff"), hood);
        EXPECT_EQ(test::ReadBytes(g.CharacterPath(Child())), character);
        EXPECT_FALSE(fs::exists(g.HoodFolder() / "Neighborhood.000"));
        EXPECT_EQ(g.app.m.hood.HoodData, hood);
        EXPECT_GT(g.app.m.outcomes.refusals + g.app.m.outcomes.failedWrites, 0);
        fs::permissions(g.HoodFolder() / "Neighborhood.iff", fs::perms::owner_all);
    }
}

// Another program grew the child up behind the editor's back: the command reads the files
// again rather than act on the old image (which would find no body string "9").
TEST_P(AdultifyTest, FilesChangedOnDiskAreReadAgainBeforeTheWork) {
    const Bytes grownUp = GrownUpHood(GetParam());
    test::WriteBytes(g.HoodFolder() / "Neighborhood.iff", grownUp);
    test::WriteBytes(g.CharacterPath(Child()), GrownUpCharacter(characterBefore, GetParam()));
    Run();
    ASSERT_EQ(g.app.ui.Messages().size(), 1u);
    const MessageRecord& told = g.app.ui.Messages()[0];
    EXPECT_EQ(told.text, "The neighbourhood changed on disk since it was read (the game, or "
                         "another program). It has been read again.");
    EXPECT_EQ(told.title.find("Fatal"), std::string::npos);
    EXPECT_FALSE(g.app.ui.Ended());
    EXPECT_EQ(g.app.ui.ListItems("List2"),
              std::vector<std::string>{
                  "Nothing was saved: the neighbourhood changed on disk since it was read."});
    EXPECT_EQ(HoodNow(), grownUp) << "the other program's file is kept";
    EXPECT_EQ(g.app.m.hood.HoodData, grownUp);
    EXPECT_EQ(g.app.m.hood.People[1].Age[0], 27);
    EXPECT_EQ(SelectedResident(g.app.m), -1);
    EXPECT_FALSE(g.app.ui.IsEnabled("Command1"));
}

// Each refusal of the byte shift is listed below EditBodyStrings; here, what one leaves behind.
TEST_P(AdultifyTest, ATableTheShiftCannotHandleChangesNothingAndSaysSo) {
    const sample::CheckedChunk table =
        sample::FindCheckedChunk(characterBefore, "STR#", 200).value();
    Bytes file = characterBefore;
    const Position nine = FindBytes(file, Bytes{1, '9', 0, 0}, table.offset + 1);
    ASSERT_GT(nine, 0);
    file[static_cast<std::size_t>(nine)] = '8';
    const Bytes stray = {1, '9', 0, 0}; // after the table: out of the shift's reach
    std::copy(stray.begin(), stray.end(), file.end() - 200);
    test::WriteBytes(g.CharacterPath(Child()), file);
    g.ClickResident(1);
    Run();
    EXPECT_EQ(HoodNow(), hoodBefore);
    EXPECT_EQ(CharacterNow(), file);
    EXPECT_FALSE(fs::exists(g.HoodFolder() / "Neighborhood.000"));
    EXPECT_EQ(g.app.m.hood.HoodData, hoodBefore) << "the in-memory changes are undone";
    ASSERT_EQ(g.app.ui.Messages().size(), 1u) << "no success message";
    const MessageRecord& msg = g.app.ui.Messages().back();
    EXPECT_EQ(msg.icon, MsgIcon::Critical);
    EXPECT_NE(msg.text.find("User00004.iff"), std::string::npos) << msg.text;
    EXPECT_NE(msg.text.find("outside the body-string table"), std::string::npos) << msg.text;
    EXPECT_FALSE(g.app.ui.Ended());
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
        (void)DispatchEvent(g.app.run(), "Command1", UiEvent::Click);
        const bool done = g.app.ui.Messages().back().title == "Completed";
        const Bytes hoodNow = test::ReadBytes(g.HoodFolder() / "Neighborhood.iff");
        const Bytes characterNow = test::ReadBytes(g.CharacterPath(Child()));
        if (done) {
            EXPECT_NE(hoodNow, hood);
            EXPECT_EQ(characterNow, GrownUpCharacter(character));
            EXPECT_EQ(failAt, faulty.operations) << "only a run without a failure completes";
            break;
        }
        EXPECT_EQ(hoodNow, hood);
        EXPECT_EQ(characterNow, character);
        EXPECT_EQ(g.app.m.outcomes.failedWrites, 1);
        EXPECT_EQ(g.app.m.hood.HoodData, hood);
        ASSERT_LT(failAt, 20);
    }
}

// Shown, the neighbourhood's files are each opened once; grown up, the child's file is read to
// be changed and the neighbourhood read back, while no other character file is opened again.
TEST(AdultifyReads, EachFileOnceToShowThenOnlyWhatTheCommandChanges) {
    NativeFileSystem native;
    test::FaultyFileSystem counting(native);
    SampleGame g(SampleGame::OneHood(SmallHood({Bob(), Child()}, {"Newbie", "Newbie"})), &counting);
    auto opensByName = [&counting] { // in the first neighbourhood's folder
        std::map<std::string, int> byName;
        for (const auto& [path, n] : counting.opens) {
            const std::string lower = AsciiLower(path);
            if (lower.find("userdata\\") == std::string::npos &&
                lower.find("userdata/") == std::string::npos)
                continue;
            byName[lower.substr(lower.find_last_of("\\/") + 1)] += n;
        }
        counting.opens.clear();
        return byName;
    };
    g.ChooseHood();
    EXPECT_EQ(opensByName(),
              (std::map<std::string, int>{
                  {"neighborhood.iff", 1}, {"user00001.iff", 1}, {"user00004.iff", 1}}));
    g.ClickResident(1);
    counting.opens.clear(); // the view reads the pictures
    (void)DispatchEvent(g.app.run(), "Command1", UiEvent::Click);
    ASSERT_EQ(g.app.ui.Messages().back().title, "Completed");
    // The neighbourhood is read once by the write itself (for its checks, its snapshot and
    // putting it back), and once more after it.
    const std::map<std::string, int> opened = opensByName();
    EXPECT_EQ(opened.count("user00001.iff"), 0u);
    EXPECT_EQ(opened.at("neighborhood.iff"), 2);
    EXPECT_EQ(g.app.ui.ListItems("List1"), (std::vector<std::string>{"Bob Newbie", "Jo Newbie"}));
}

// A command that writes the game's files, as each test row starts and clicks it.
struct WritingCommand {
    const char* name;
    ControlId control;
    std::function<void(SampleGame&)> prepare;
    // The files it writes, the neighbourhood (which the game itself saves) first.
    std::function<std::vector<fs::path>(const SampleGame&)> writes;
    bool backsUpTheNeighbourhood;
};

const WritingCommand kWritingCommands[] = {
    {"adultify", "Command1",
     [](SampleGame& g) {
         g.app.ui.SetChecked("menu_personality", false); // the traits stay as generated
         g.ChooseHood();
         g.ClickResident(1);
     },
     [](const SampleGame& g) {
         return std::vector{g.HoodFolder() / "Neighborhood.iff", g.CharacterPath(Child())};
     },
     true},
    {"save", "menu_Save",
     [](SampleGame& g) {
         g.ChooseHood();
         g.app.m.hood.HoodData.back() ^= 0xFF; // an edit
         g.app.m.editing.UnsavedData = kTrue;
         g.app.ui.SetEnabled("menu_Save", true);
     },
     [](const SampleGame& g) { return std::vector{g.HoodFolder() / "Neighborhood.iff"}; }, true},
    {"fix thumbnails", "menu_fix_thumbnails",
     [](SampleGame& g) {
         g.ChooseHood();
         g.ClickResident(0);
         g.app.ui.answerMessage = [](const MessageRecord& r) {
             return r.buttons == MsgButtons::YesNoDefaultNo ? MsgAnswer::Yes : MsgAnswer::Ok;
         };
     },
     [](const SampleGame& g) {
         return std::vector{g.HoodFolder() / "Neighborhood.iff", g.CharacterPath(Bob())};
     },
     false},
    {"restore", "menu_snapshots",
     [](SampleGame& g) {
         static const test::TempDir snapshots;
         g.app.m.game.snapshotRoot = snapshots.path();
         g.ChooseHood();
         // A snapshot of both files as they were before an edit of their last bytes.
         std::vector<SnapshotCopy> older;
         for (const fs::path& file :
              {g.HoodFolder() / "Neighborhood.iff", g.CharacterPath(Child())}) {
             Bytes bytes = test::ReadBytes(file);
             bytes.back() ^= 0xFF;
             older.push_back({file.lexically_relative(g.dir.path()).generic_string(), bytes, {}});
         }
         ASSERT_TRUE(TakeSnapshot(snapshots.path(), g.dir.path(), 1, {"adultify", "", ""}, older));
         g.app.ui.answerMessage = [](const MessageRecord& r) {
             return r.buttons == MsgButtons::YesNoDefaultNo ? MsgAnswer::Yes : MsgAnswer::Ok;
         };
         g.app.ui.onModal = [&g](FormId form) {
             if (form != FormId("frmSnapshots")) return;
             g.app.ui.ListSelect("frmSnapshots.List1", 0);
             (void)DispatchEvent(g.app.run(), "frmSnapshots.List1", UiEvent::Click);
             (void)DispatchEvent(g.app.run(), "frmSnapshots.cmdRestore", UiEvent::Click);
         };
     },
     [](const SampleGame& g) {
         return std::vector{g.HoodFolder() / "Neighborhood.iff", g.CharacterPath(Child())};
     },
     false},
};

std::vector<Bytes> Contents(const std::vector<fs::path>& files) {
    std::vector<Bytes> contents;
    for (const fs::path& f : files)
        contents.push_back(test::ReadBytes(f));
    return contents;
}

// Stopped after any step of its save, as a kill would stop it, every command leaves the next
// start all its files as they were or all as the whole command writes them, never some of
// each; and when the game saved the neighbourhood between the stop and the next start, the
// game's save is kept.
TEST(WritingCommands, AStopAtAnyStepLeavesAllOldOrAllNewAfterTheNextStart) {
    const Bytes gamesSave = ToBytes("the game saved this neighbourhood since");
    const sample::GameSpec game =
        SampleGame::OneHood(SmallHood({Bob(), Child()}, {"Newbie", "Newbie"}));
    for (const WritingCommand& command : kWritingCommands) {
        std::vector<Bytes> before, after;
        {
            SampleGame whole(game);
            before = Contents(command.writes(whole));
            command.prepare(whole);
            (void)DispatchEvent(whole.app.run(), command.control, UiEvent::Click);
            after = Contents(command.writes(whole));
        }
        ASSERT_NE(before, after) << command.name;
        for (const bool gameSaved : {false, true}) {
            for (int stopAt = 0;; ++stopAt) {
                SCOPED_TRACE(std::string(command.name) + " stopped after step " +
                             std::to_string(stopAt) + (gameSaved ? ", then the game saved" : ""));
                NativeFileSystem native;
                SampleGame g(game, &native);
                const std::vector<fs::path> files = command.writes(g);
                command.prepare(g);
                const bool stopped =
                    test::ClickStoppedAfterStep(g.app, native, command.control, stopAt);
                if (gameSaved) test::WriteBytes(files[0], gamesSave);
                test::NextStart(g.dir.asSimsPath());
                std::vector<Bytes> now = Contents(files);
                if (gameSaved) {
                    EXPECT_EQ(now[0], gamesSave);
                    now[0] = before[0];
                    for (std::size_t i = 1; i < now.size(); ++i)
                        EXPECT_TRUE(now[i] == before[i] || now[i] == after[i]) << files[i];
                } else if (now == before) {
                    EXPECT_TRUE(stopped);
                } else {
                    EXPECT_EQ(now, after) << "some files old, some new";
                    if (command.backsUpTheNeighbourhood) {
                        EXPECT_EQ(test::ReadBytes(g.HoodFolder() / "Neighborhood.000"), before[0]);
                    }
                }
                EXPECT_EQ(fs::hard_link_count(files[0]), 1u) << "no backup is live";
                EXPECT_FALSE(fs::exists(g.dir.path() / ".adultify-intent"));
                EXPECT_FALSE(fs::exists(g.dir.path() / ".adultify-temps"));
                for (const auto& entry : fs::recursive_directory_iterator(g.HoodFolder()))
                    EXPECT_EQ(entry.path().filename().string().find("adultify"), std::string::npos)
                        << entry.path();
                if (!stopped) {
                    EXPECT_GT(stopAt, 0) << "the write went around the program's file system";
                    break;
                }
                ASSERT_LT(stopAt, 20);
            }
        }
    }
}

// Finishing an interrupted save replaces game files like any save: without a place for a copy
// it waits (unless the user asks to write without one), and once done it counts as a change,
// so a refusal met later in the same run cannot exit as "nothing changed".
TEST(AdultifyFailures, AnInterruptedSaveIsFinishedOnlyWithACopyAndCountsAsAChange) {
    NativeFileSystem native;
    SampleGame g(SampleGame::OneHood(SmallHood({Bob(), Child()}, {"Newbie", "Newbie"})), &native);
    const std::filesystem::path hoodFile = g.HoodFolder() / "Neighborhood.iff";
    const Bytes hood = test::ReadBytes(hoodFile);
    const Bytes character = test::ReadBytes(g.CharacterPath(Child()));
    g.app.ui.SetChecked("menu_personality", false); // the traits stay as generated
    g.ChooseHood();
    g.ClickResident(1);
    // Stopped once the record is written (after the marker and two new files): nothing renamed.
    ASSERT_TRUE(test::ClickStoppedAfterStep(g.app, native, "Command1", 3));
    ASSERT_TRUE(std::filesystem::exists(g.dir.path() / ".adultify-intent"));
    const auto recover = [&](auto setUp) {
        test::HeadlessApp next;
        next.m.game.SimsPath = g.dir.asSimsPath();
        setUp(next.m);
        RecoverInterruptedSave(next.m);
        return std::pair{next.m.outcomes.filesChanged, next.m.outcomes.refusals};
    };
    EXPECT_EQ(recover([](Module1& m) { m.game.snapshotsUnavailable = true; }), std::pair(0, 1));
    EXPECT_EQ(test::ReadBytes(hoodFile), hood) << "no copy could be kept: nothing replaced";
    ASSERT_TRUE(std::filesystem::exists(g.dir.path() / ".adultify-intent"));

    test::TempDir snapshots;
    EXPECT_EQ(recover([&](Module1& m) { m.game.snapshotRoot = snapshots.path(); }),
              std::pair(2, 0));
    EXPECT_EQ(test::ReadBytes(hoodFile), GrownUpHood());
    EXPECT_EQ(test::ReadBytes(g.CharacterPath(Child())), GrownUpCharacter(character));
    EXPECT_FALSE(std::filesystem::is_empty(snapshots.path())) << "the copy it promised";
}

#ifndef _WIN32
// A neighbourhood that cannot be replaced once the character file is (read-only here; held
// open by another program on Windows): the character file is put back, and the refusal is
// true: nothing has been changed, and nothing waits for the next start.
TEST(AdultifyFailures, ANeighbourhoodThatCannotBeReplacedLeavesBothFilesOld) {
    NativeFileSystem native;
    SampleGame g(SampleGame::OneHood(SmallHood({Bob(), Child()}, {"Newbie", "Newbie"})), &native);
    const std::filesystem::path hoodFile = g.HoodFolder() / "Neighborhood.iff";
    const Bytes hood = test::ReadBytes(hoodFile);
    const Bytes character = test::ReadBytes(g.CharacterPath(Child()));
    g.ChooseHood();
    g.ClickResident(1);
    native.afterReplaceStep = [&] {
        if (test::ReadBytes(g.CharacterPath(Child())) != character)
            std::filesystem::permissions(hoodFile, std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::remove);
    };
    (void)DispatchEvent(g.app.run(), "Command1", UiEvent::Click);
    native.afterReplaceStep = nullptr;
    EXPECT_EQ(test::ReadBytes(hoodFile), hood);
    EXPECT_EQ(test::ReadBytes(g.CharacterPath(Child())), character);
    EXPECT_FALSE(std::filesystem::exists(g.HoodFolder() / "Neighborhood.000"));
    EXPECT_EQ(g.app.m.outcomes.refusals, 1);
    EXPECT_EQ(g.app.m.outcomes.failedWrites, 0);
    EXPECT_NE(g.app.ui.Messages().back().text.find("Nothing has been changed."), std::string::npos);
    g.app.m.game.gameLock.reset();
    test::HeadlessApp next;
    next.m.game.SimsPath = g.dir.asSimsPath();
    RecoverInterruptedSave(next.m);
    EXPECT_TRUE(next.ui.Messages().empty()) << "no save was left to finish";
}
#endif

// "head", an STR# 200 chunk holding `data` whose size field says `size` (its real size when 0),
// "tail"; no head when `atStart`.
Bytes FileWithTable(const Bytes& data, std::uint32_t size = 0, bool atStart = false) {
    if (size == 0) size = static_cast<std::uint32_t>(76 + data.size());
    Bytes f = atStart ? Bytes{} : ToBytes("head");
    f.insert(f.end(), {'S', 'T', 'R', '#', static_cast<std::uint8_t>(size >> 24),
                       static_cast<std::uint8_t>(size >> 16), static_cast<std::uint8_t>(size >> 8),
                       static_cast<std::uint8_t>(size), 0x00, 0xC8, 0x00, 0x10});
    f.resize(f.size() + 64, 0); // the label
    f.insert(f.end(), data.begin(), data.end());
    f.insert(f.end(), {'t', 'a', 'i', 'l'});
    return f;
}

// Only the bytes up to the third from the chunk's end move: that one is lost, the last two stay.
// What it cannot shift it refuses, saying why.
TEST(EditBodyStrings, ShiftsWholeTablesAndRefusesWhatItCannot) {
    const Bytes usual = {0xFD, 0xFF, 2, 0, 1,   'c', 'h', 'i',  'l',
                         'd',  0,    0, 1, '9', 0,   0,   0xA1, 0xA2};
    Bytes otherFlags = FileWithTable(usual);
    otherFlags[4 + 11] = 0x00;
    struct Case {
        const char* what;
        Bytes file;
        std::optional<Bytes> after; // none: refused
        const char* says = "";
        bool fatal = false;
    } cases[] = {
        {"usual", FileWithTable({0xFD, 0xFF, 3, 0, 1, 'c', 'h', 'i', 'l',  'd',  0,    0,
                                 1,    '9',  0, 0, 1, 'A', 0,   0,   0xA1, 0xA2, 0xA3, 0xA4}),
         FileWithTable({0xFD, 0xFF, 3,   0, 1, 'a', 'd', 'u', 'l', 't',  0,    0,
                        1,    '2',  '7', 0, 0, 1,   'A', 0,   0,   0xA1, 0xA3, 0xA4})},
        {"only the first 9, only a lower-case child",
         FileWithTable({0xFD, 0xFF, 3, 0, 1, 'C', 'h', 'i', 'l',  'd',  0,   0,
                        1,    '9',  0, 0, 1, '9', 0,   0,   0xA1, 0xA2, 0xA3}),
         FileWithTable({0xFD, 0xFF, 3,   0, 1, 'C', 'h', 'i', 'l', 'd',  0,   0,
                        1,    '2',  '7', 0, 0, 1,   '9', 0,   0,   0xA2, 0xA3})},
        {"the shift reaches the table's end: the comment's zero goes", FileWithTable(usual),
         FileWithTable(
             {0xFD, 0xFF, 2, 0, 1, 'a', 'd', 'u', 'l', 't', 0, 0, 1, '2', '7', 0, 0xA1, 0xA2})},
        {"no table", otherFlags, std::nullopt, "has no body-string table"},
        // The search starts after the first entry's language byte.
        {"9 only as the first entry", FileWithTable({0xFD, 0xFF, 1, 0, 1, '9', 0, 0, 0xA1, 0xA2}),
         std::nullopt, "no body string \"9\""},
        {"9 at the very end",
         FileWithTable({0xFD, 0xFF, 2, 0, 1, 'c', 'h', 'i', 'l', 'd', 0, 0, 1, '9', 0, 0, 0xA1}),
         std::nullopt, "outside the body-string table"},
        {"size past the file", FileWithTable(usual, 200), std::nullopt,
         "runs past the end of the file"},
        // The size modulo 65536 is 0: the end falls before the file's start.
        {"no end at all", FileWithTable(usual, 0x10000, true), std::nullopt, "invalid file", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Bytes file = c.file;
        const BodyStringEdit r = EditBodyStrings(file);
        EXPECT_EQ(r.ok, c.after.has_value()) << r.problem;
        if (c.after) {
            EXPECT_EQ(file, *c.after);
        }
        EXPECT_NE(r.problem.find(c.says), std::string::npos) << r.problem;
        EXPECT_EQ(r.fatal, c.fatal);
    }
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
