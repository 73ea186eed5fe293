#include "hood/get_people.h"

#include "iff/cp1252.h"
#include "sample/iff_builder.h"
#include "tests/support/sample_game.h"
#include "tests/support/system_calls.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

using test::SampleGame;
using test::Sim;
using test::SmallHood;

std::vector<std::string> Lines(const SampleGame& g) {
    return g.app.ui.ListItems("List1");
}

// Neighbourhood files given as raw bytes: UserData, UserData2, ...; the first one chosen.
struct RawHoods {
    explicit RawHoods(std::initializer_list<Bytes> files) {
        int n = 1;
        for (const Bytes& file : files) {
            test::WriteBytes(
                dir.path() / (n == 1 ? std::string("UserData") : "UserData" + std::to_string(n)) /
                    "Neighborhood.iff",
                file);
            ++n;
        }
        app.m.game.SimsPath = dir.asSimsPath();
        FillCareerNames(app.m);
        FillNeighbourhoodList(app.m);
        app.ui.ListSelect("Combo1", 0);
    }
    void Read(int index = 0) {
        app.ui.ListSelect("Combo1", index);
        Get_People(app.m);
    }
    test::TempDir dir;
    test::HeadlessApp app;
};

class GetPeopleTest : public ::testing::TestWithParam<bool> {};
ADULTIFY_OVER_BOTH_FILE_KINDS(GetPeopleTest);

TEST_P(GetPeopleTest, NamesEachResidentWithItsOwnFamilyInBothRecordVersions) {
    SampleGame g(SampleGame::OneHood(SmallHood({Sim("user00001", "Bob", 27, 0x81828384, 4),
                                                Sim("user00004", "Bella", 27, 0x91929394, 10),
                                                Sim("user00007", "Chloë", 9, 0xA1A2A3A4, 10)},
                                               {"Newbie", "Goth", "Caliente"}, GetParam())));
    g.ChooseHood();
    EXPECT_EQ(Lines(g), (std::vector<std::string>{"Bob Newbie", "Bella Goth", "Chloë Caliente"}));
    EXPECT_EQ(g.app.m.hood.RecordCount, 3);
    const PersonRecord& bella = g.app.m.hood.People[1];
    EXPECT_EQ(bella.UserFile, ToBytes("user00004"));
    EXPECT_EQ((std::array<std::uint8_t, 4>{0x94, 0x93, 0x92, 0x91}), bella.FamilyKey)
        << "the GUID at +532";
    EXPECT_EQ((std::array<std::uint8_t, 4>{0x84, 0x83, 0x82, 0x81}),
              g.app.m.hood.People[0].FamilyKey)
        << "at +180";
    EXPECT_EQ(g.app.m.hood.People[2].Age[0], 9);
}

// Every name as the game of that language wrote it: Create-a-Sim's in the game's own language
// code, the game's own sims with translations; read in the game's code page.
TEST(GetPeople, EveryNameOfALocalisedGame) {
    for (const char* language : {"uk", "de", "fr", "ja"}) {
        SCOPED_TRACE(language);
        const sample::HoodSpec hood = sample::LocalisedHood(language);
        SampleGame g(SampleGame::OneHood(hood));
        g.app.m.game.codePage = hood.codePage;
        g.ChooseHood();
        std::vector<std::string> expected;
        for (const sample::SimSpec& sim : hood.sims)
            expected.push_back(sim.firstName + " " +
                               hood.families[static_cast<std::size_t>(sim.familyChunkId - 1)].name);
        EXPECT_EQ(Lines(g), expected);
    }
}

TEST(GetPeople, MissingOrUnsafeCharacterFilesGiveNotFound) {
    sample::SimSpec missing = Sim("user00002", "Ghost", 27, 0x81828384);
    missing.hasCharacterFile = false;
    sample::SimSpec upper = Sim("USER00003", "Loud", 27, 0x91929394);
    upper.characterFileName = "user00003.IFF"; // found without regard to letter case
    SampleGame g(SampleGame::OneHood(SmallHood({missing, upper}, {"Newbie", "Goth"})));
    g.ChooseHood();
    EXPECT_EQ(Lines(g), (std::vector<std::string>{"Not Found Newbie", "Loud Goth"}));
}

// A shared neighbourhood whose user-file names try to leave the Characters folder.
TEST(GetPeople, AHostileNeighbourhoodReadsNothingOutsideItsCharactersFolder) {
    Bytes hood = ToBytes("IFF padding ");
    for (const std::string& name :
         std::vector<std::string>{"USER/../A", "USER\\..\\A", "USER:/A.i", "USER..\\A",
                                  std::string("USER\0abcd", 9), "USER/A\x01zz"}) {
        hood.insert(hood.end(), name.begin(), name.end());
        hood.insert(hood.end(), 600, 0);
    }
    RawHoods raw({hood});
    const Bytes victim = sample::CharacterFile(Sim("user00001", "Stolen", 27, 0x81828384));
    for (const char* name :
         {"UserData/A.iff", "UserData/Characters/A.iff", "A.iff", "UserData/Characters/USER/A.iff"})
        test::WriteBytes(raw.dir.path() / name, victim);
    auto& app = raw.app;
    (void)DispatchEvent(app.run(), "Combo1", UiEvent::Click);
    ASSERT_EQ(app.ui.ListCount("List1"), 6);
    for (const std::string& line : app.ui.ListItems("List1"))
        EXPECT_EQ(line, "Not Found NO FAMILY");
    for (int i = 0; i < 6; ++i) {
        app.ui.ListSelect("List1", i);
        (void)DispatchEvent(app.run(), "List1", UiEvent::Click);
        EXPECT_EQ(app.ui.Picture("Picture1").kind, HeadlessPicture::Kind::None) << "line " << i;
        EXPECT_TRUE(app.m.hood.UserFileData.empty());
    }
}

// A neighbourhood folder nobody may search is listed, and choosing it says why it is not read.
TEST(GetPeople, AnUnreadableNeighbourhoodFolderIsListedAndRefusedWithTheReason) {
#ifdef _WIN32
    GTEST_SKIP() << "POSIX permissions";
#else
    if (::geteuid() == 0) GTEST_SKIP() << "an administrator reads any folder";
    RawHoods raw({ToBytes("IFF"), ToBytes("IFF")});
    const std::filesystem::path locked = raw.dir.path() / "UserData2";
    std::filesystem::permissions(locked, std::filesystem::perms::none);
    FillNeighbourhoodList(raw.app.m);
    const std::vector<std::string> entries = raw.app.ui.ListItems("Combo1");
    raw.Read(1);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_all);
    EXPECT_EQ(entries, (std::vector<std::string>{"Neighbourhood 1", "Neighbourhood 2"}));
    ASSERT_EQ(raw.app.ui.Messages().size(), 1u);
    EXPECT_EQ(raw.app.ui.Messages()[0].title, "Nothing Changed");
    EXPECT_EQ(raw.app.ui.Messages()[0].text, "This neighbourhood file cannot be read.\n" +
                                                 (locked / "Neighborhood.iff").string() +
                                                 "\nPermission denied");
#endif
}

TEST(GetPeople, EveryCaseOfUserCountsAndKeepsItsLetters) {
    Bytes hood = ToBytes("xxUSER00001");
    hood.resize(300, 0);
    const std::string more = "User00002 and user00003 at the end";
    hood.insert(hood.end(), more.begin(), more.end());
    RawHoods raw({hood});
    raw.Read();
    auto& app = raw.app;
    ASSERT_EQ(app.m.hood.RecordCount, 3);
    EXPECT_EQ(app.m.hood.People[1].UserFile, ToBytes("User00002"));
    EXPECT_EQ(app.m.hood.People[2].UserFile, ToBytes("user00003"));
    // Fields past the end of the data are blanks.
    EXPECT_EQ(app.m.hood.People[2].Age, (std::array<std::uint8_t, 2>{32, 32}));
    EXPECT_EQ(app.m.hood.People[2].FamilyKey, (std::array<std::uint8_t, 4>{32, 32, 32, 32}));
}

TEST(GetPeople, TinyFilesAndMissingFilesListNobody) {
    for (const Bytes& content : {Bytes{}, ToBytes("USER")}) {
        RawHoods raw({content});
        raw.Read();
        auto& app = raw.app;
        EXPECT_EQ(app.ui.ListCount("List1"), 0);
        EXPECT_EQ(app.ui.Caption("Label3"), "Idle");
        EXPECT_EQ(app.m.hood.HoodData, content);
    }
}

Bytes FamsChunk(const Bytes& name, bool terminated) {
    Bytes chunk = ToBytes("FAMs");
    chunk.resize(76, 0);
    Bytes table = {0xFD, 0xFF, 1, 0, 1};
    table.insert(table.end(), name.begin(), name.end());
    if (terminated) table.push_back(0);
    chunk.insert(chunk.end(), table.begin(), table.end());
    return chunk;
}

Bytes HoodWithKey(const Bytes& tail) {
    // A base-game record: its key at +180 is 11 22 33 44.
    Bytes hood = {1, 0, 0, 0, 4, 0, 0, 0};
    const std::string name = "user00001";
    hood.insert(hood.end(), name.begin(), name.end());
    hood.resize(8 + 180, 0);
    hood.insert(hood.end(), {0x11, 0x22, 0x33, 0x44});
    hood.resize(400, 0);
    hood.insert(hood.end(), tail.begin(), tail.end());
    return hood;
}

struct FamilyCase {
    const char* what;
    Bytes tail;
    std::string lastName;
};

TEST(GetPeople, FamilyLookupBoundaries) {
    Bytes fami = ToBytes("FAMI");
    fami.resize(40, 0);
    const Bytes key = {0x11, 0x22, 0x33, 0x44};
    auto join = [](std::initializer_list<Bytes> parts) {
        Bytes out;
        for (const Bytes& p : parts)
            out.insert(out.end(), p.begin(), p.end());
        return out;
    };
    const FamilyCase cases[] = {
        {"a family", join({fami, key, FamsChunk(ToBytes("Newbie"), true)}), "Newbie"},
        {"no FAMI", join({key, FamsChunk(ToBytes("Newbie"), true)}), "NO FAMILY"},
        {"key only before FAMI", join({key, fami, FamsChunk(ToBytes("Newbie"), true)}),
         "NO FAMILY"},
        {"empty first string", join({fami, key, FamsChunk(Bytes{0, 'A', 'b'}, true)}),
         std::string("\0Ab", 3)},
        {"no FAMs after the key", join({fami, key, Bytes(100, 0)}), "NO FAMILY"},
    };
    for (const FamilyCase& c : cases) {
        RawHoods raw({HoodWithKey(c.tail)});
        raw.Read();
        auto& app = raw.app;
        ASSERT_EQ(app.m.hood.RecordCount, 1) << c.what;
        EXPECT_EQ(AsText(app.m.hood.People[0].LastName), c.lastName) << c.what;
    }
}

TEST(GetPeople, AFamilyNameRunningOffTheEndGivesTheErrorReportAndEnds) {
    Bytes fami = ToBytes("FAMI");
    fami.resize(40, 0);
    Bytes tail = fami;
    tail.insert(tail.end(), {0x11, 0x22, 0x33, 0x44});
    const Bytes fams = FamsChunk(ToBytes("Newbie"), false);
    tail.insert(tail.end(), fams.begin(), fams.end());
    const Bytes hood = HoodWithKey(tail);
    RawHoods raw({hood});
    auto& app = raw.app;
    EXPECT_THROW(Get_People(app.m), ProgramEnd);
    EXPECT_TRUE(app.ui.Ended());
    ASSERT_EQ(app.ui.Messages().size(), 1u);
    const MessageRecord& report = app.ui.Messages()[0];
    EXPECT_EQ(report.title, "Fatal Error during Get_People");
    EXPECT_EQ(report.icon, MsgIcon::Critical);
    EXPECT_EQ(report.text,
              "An error has occured while trying to find the residents of this neighbourhood.\n"
              "Not sure what has happended but here is some Debug Info that may Help:\n"
              "Program Pointer= 11\n"
              "T= 9\n"
              "Hood Length= " +
                  std::to_string(hood.size()) +
                  "\n"
                  "Record Count= 0\n"
                  "User File=user00001\n"
                  "Sim First Name=Not Found\n"
                  "Sim Last Name=NO FAMILY" +
                  (kSupportAddress.empty()
                       ? ""
                       : "\n\nPlease email this information to " + std::string(kSupportAddress)));
}

// A character file of one "CTSS" chunk, its format code `gap` bytes after the tag (72: at the
// start of its data), followed by another chunk whose data start with a language byte and text.
Bytes CharacterWithCtss(const Bytes& table, std::size_t gap = 72,
                        std::optional<std::uint32_t> size = std::nullopt) {
    Bytes file = ToBytes("IFF FILE 2.5:TYPE FOLLOWED BY SIZE");
    file.resize(64, 0);
    const std::uint32_t chunkSize =
        size.value_or(static_cast<std::uint32_t>(4 + gap + table.size()));
    file.insert(file.end(), {'C', 'T', 'S', 'S'});
    for (int shift = 24; shift >= 0; shift -= 8) // the size, big-endian
        file.push_back(static_cast<std::uint8_t>(chunkSize >> shift));
    file.insert(file.end(), {0x07, 0xD0, 0x00, 0x10});
    file.insert(file.end(), gap - 8, 0);
    file.insert(file.end(), table.begin(), table.end());
    const Bytes next = {'S',  'T', 'R',  '#',  0,    0,   0,   0x52, 0,
                        0xC8, 0,   0x10, 0x01, 0x02, 'N', 'e', 'x',  't'};
    file.insert(file.end(), next.begin(), next.end());
    return file;
}

TEST(ReadCharacterFirstName, NameTableBoundaries) {
    const Bytes bob = {0xFD, 0xFF, 2, 0, 1, 'B', 'o', 'b', 0, 0, 1, 'x', 0, 0};
    struct Case {
        const char* what;
        Bytes table;
        std::string name = "Not Found"; // "invalid": the file is reported invalid
        std::size_t gap = 72;           // bytes between the tag and the FD FF format code
        std::optional<std::uint32_t> size = std::nullopt;
    } cases[] = {
        {"US English", bob, "Bob"},
        {"UK English, Create-a-Sim's", {0xFD, 0xFF, 2, 0, 2, 'A', 'l', 0, 0, 2, 0, 0}, "Al"},
        {"several languages: entry 0",
         {0xFD, 0xFF, 3, 0, 4, 'H', 'a', 'n', 's', 0, 0, 1, 'J', 'o', 0, 0, 3, 'J', 0, 0},
         "Hans"},
        {"a count of 1 is a count", {0xFD, 0xFF, 1, 0, 2, 'B', 'o', 'b', 0, 0, 0xA3}, "Bob"},
        {"an empty name", {0xFD, 0xFF, 1, 0, 6, 0, 0}, ""},
        {"no entries", {0xFD, 0xFF, 0, 0, 1, 'B', 0, 0}},
        {"a name without its zero byte in the chunk", {0xFD, 0xFF, 1, 0, 2, 'E', 'n', 'd'}},
        {"the table cut before its first value", {0xFD, 0xFF, 1, 0}},
        {"a chunk size beyond the file", bob, "Not Found", 72, 5000},
        {"a chunk size below its header", bob, "Not Found", 72, 20},
        {"the format code inside the data", bob, "Not Found", 996},
        {"no format code within 1000 bytes", bob, "invalid", 997},
    };
    for (const Case& c : cases) {
        sample::SimSpec sim = Sim("user00001", "x", 27, 0x81828384);
        sim.hasCharacterFile = false;
        test::SampleGame g(test::SampleGame::OneHood(SmallHood({sim})));
        test::WriteBytes(g.CharacterPath(sim), CharacterWithCtss(c.table, c.gap, c.size));
        g.app.ui.ListSelect("Combo1", 0);
        Bytes buffer;
        if (c.name != "invalid") {
            EXPECT_EQ(AsText(ReadCharacterFirstName(g.app.m, ToBytes("user00001"), buffer)), c.name)
                << c.what;
            EXPECT_TRUE(g.app.ui.Messages().empty()) << c.what;
        } else {
            EXPECT_THROW((void)ReadCharacterFirstName(g.app.m, ToBytes("user00001"), buffer),
                         ProgramEnd)
                << c.what;
            ASSERT_EQ(g.app.ui.Messages().size(), 1u) << c.what;
            EXPECT_EQ(g.app.ui.Messages()[0].title, "Fatal Error:");
            EXPECT_NE(g.app.ui.Messages()[0].text.find("User00001.iff is invalid"),
                      std::string::npos);
        }
    }
}

Bytes ManyResidents(int n) {
    Bytes hood;
    for (int i = 0; i < n; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "user%05d", i);
        hood.insert(hood.end(), name, name + 9);
        hood.resize(hood.size() + 200, 0);
    }
    return hood;
}

TEST(GetPeople, NineHundredNinetyNineLoadAndTheThousandthEndsTheProgram) {
    RawHoods raw({ManyResidents(999), ManyResidents(1000)});
    auto& app = raw.app;
    raw.Read(0);
    EXPECT_EQ(app.ui.ListCount("List1"), 999);
    EXPECT_FALSE(app.ui.Ended());

    EXPECT_THROW(raw.Read(1), ProgramEnd);
    EXPECT_EQ(app.ui.ListCount("List1"), 1000) << "the 1000th line is added before the stop";
    EXPECT_EQ(app.ui.Beeps(), 1);
    ASSERT_EQ(app.ui.Messages().size(), 1u);
    EXPECT_EQ(app.ui.Messages()[0].title, "Crash and Burn");
    EXPECT_EQ(
        app.ui.Messages()[0].text,
        "Too many people have been found in your neighbourhood. Number of records exceeds 1000");
}

TEST(GetPeople, ASmallerNeighbourhoodLeavesTheEarlierSurplusEntries) {
    RawHoods raw({ManyResidents(5), ManyResidents(2)});
    auto& app = raw.app;
    raw.Read(0);
    raw.Read(1);
    EXPECT_EQ(app.m.hood.RecordCount, 2);
    EXPECT_EQ(app.ui.ListCount("List1"), 2);
    EXPECT_EQ(app.m.hood.People[4].UserFile, ToBytes("user00004"));
    // Records are made as they are first written; one never written reads as empty.
    EXPECT_TRUE(app.m.hood.People[5].UserFile.empty());
    EXPECT_EQ(app.m.hood.People[kPeopleSize].Age, (std::array<std::uint8_t, 2>{}));
}

} // namespace
} // namespace adultify
