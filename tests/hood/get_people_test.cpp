#include "hood/get_people.h"

#include "iff/cp1252.h"
#include "sample/iff_builder.h"
#include "tests/support/sample_game.h"

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
        app.m.SimsPath = dir.asSimsPath();
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

TEST(GetPeople, NamesEachResidentWithItsOwnFamilyInBothRecordVersions) {
    SampleGame g(SampleGame::OneHood(SmallHood({Sim("user00001", "Bob", 27, 0x81828384, 4),
                                                Sim("user00004", "Bella", 27, 0x91929394, 10),
                                                Sim("user00007", "Chloë", 9, 0xA1A2A3A4, 10)},
                                               {"Newbie", "Goth", "Caliente"})));
    g.ChooseHood();
    EXPECT_EQ(Lines(g), (std::vector<std::string>{"Bob Newbie", "Bella Goth", "Chloë Caliente"}));
    EXPECT_EQ(g.app.m.RecordCount, 3);
    const PersonRecord& bella = g.app.m.People[1];
    EXPECT_EQ(bella.UserFile, ToBytes("user00004"));
    EXPECT_EQ((std::array<std::uint8_t, 4>{0x94, 0x93, 0x92, 0x91}), bella.FamilyKey)
        << "the GUID at +532";
    EXPECT_EQ((std::array<std::uint8_t, 4>{0x84, 0x83, 0x82, 0x81}), g.app.m.People[0].FamilyKey)
        << "at +180";
    EXPECT_EQ(g.app.m.People[2].Age[0], 9);
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
    (void)DispatchEvent(app.m, "Combo1", UiEvent::Click);
    ASSERT_EQ(app.ui.ListCount("List1"), 6);
    for (const std::string& line : app.ui.ListItems("List1"))
        EXPECT_EQ(line, "Not Found NO FAMILY");
    for (int i = 0; i < 6; ++i) {
        app.ui.ListSelect("List1", i);
        (void)DispatchEvent(app.m, "List1", UiEvent::Click);
        EXPECT_EQ(app.ui.Picture("Picture1").kind, HeadlessPicture::Kind::None) << "line " << i;
        EXPECT_TRUE(app.m.UserFileData.empty());
    }
}

TEST(GetPeople, EveryCaseOfUserCountsAndKeepsItsLetters) {
    Bytes hood = ToBytes("xxUSER00001");
    hood.resize(300, 0);
    const std::string more = "User00002 and user00003 at the end";
    hood.insert(hood.end(), more.begin(), more.end());
    RawHoods raw({hood});
    raw.Read();
    auto& app = raw.app;
    ASSERT_EQ(app.m.RecordCount, 3);
    EXPECT_EQ(app.m.People[1].UserFile, ToBytes("User00002"));
    EXPECT_EQ(app.m.People[2].UserFile, ToBytes("user00003"));
    // Fields past the end of the data are blanks.
    EXPECT_EQ(app.m.People[2].Age, (std::array<std::uint8_t, 2>{32, 32}));
    EXPECT_EQ(app.m.People[2].FamilyKey, (std::array<std::uint8_t, 4>{32, 32, 32, 32}));
}

TEST(GetPeople, TinyFilesAndMissingFilesListNobody) {
    for (const Bytes& content : {Bytes{}, ToBytes("USER")}) {
        RawHoods raw({content});
        raw.Read();
        auto& app = raw.app;
        EXPECT_EQ(app.ui.ListCount("List1"), 0);
        EXPECT_EQ(app.ui.Caption("Label3"), "Idle");
        EXPECT_EQ(app.m.HoodData, content);
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
        ASSERT_EQ(app.m.RecordCount, 1) << c.what;
        EXPECT_EQ(AsText(app.m.People[0].LastName), c.lastName) << c.what;
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

Bytes CharacterWithCtss(std::size_t gap, const Bytes& table) {
    Bytes file = ToBytes("IFF FILE 2.5:TYPE FOLLOWED BY SIZE");
    file.resize(64, 0);
    const Bytes tag = ToBytes("CTSS");
    file.insert(file.end(), tag.begin(), tag.end());
    file.insert(file.end(), gap, 0x20);
    file.insert(file.end(), table.begin(), table.end());
    return file;
}

TEST(ReadCharacterFirstName, NameTableBoundaries) {
    struct Case {
        const char* what;
        std::size_t gap; // bytes between the tag and the FD FF format code
        Bytes table;
        std::optional<std::string> name; // nothing: the file is reported invalid
    } cases[] = {
        {"usual", 72, {0xFD, 0xFF, 2, 0, 1, 'B', 'o', 'b', 0, 0, 1, 'x', 0, 0}, "Bob"},
        {"count 1 taken for the marker",
         72,
         {0xFD, 0xFF, 1, 0, 1, 'B', 'o', 'b', 0, 0},
         std::string("\0\x01"
                     "Bob",
                     5)},
        {"format code at the 1000th position", 996, {0xFD, 0xFF, 2, 0, 1, 'A', 0}, "A"},
        {"format code at the 1001st position", 997, {0xFD, 0xFF, 2, 0, 1, 'A', 0}, std::nullopt},
        {"no marker within 1000", 10,
         [] {
             Bytes t = {0xFD, 0xFF, 0, 0};
             t.resize(1100, 0x20);
             return t;
         }(),
         std::nullopt},
        {"name without its zero byte", 10, {0xFD, 0xFF, 2, 0, 1, 'E', 'n', 'd'}, "End"},
    };
    for (const Case& c : cases) {
        sample::SimSpec sim = Sim("user00001", "x", 27, 0x81828384);
        sim.hasCharacterFile = false;
        test::SampleGame g(test::SampleGame::OneHood(SmallHood({sim})));
        test::WriteBytes(g.CharacterPath(sim), CharacterWithCtss(c.gap, c.table));
        g.app.ui.ListSelect("Combo1", 0);
        if (c.name) {
            EXPECT_EQ(AsText(ReadCharacterFirstName(g.app.m, ToBytes("user00001"))), *c.name)
                << c.what;
        } else {
            EXPECT_THROW((void)ReadCharacterFirstName(g.app.m, ToBytes("user00001")), ProgramEnd)
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
    EXPECT_EQ(app.m.RecordCount, 2);
    EXPECT_EQ(app.ui.ListCount("List1"), 2);
    EXPECT_EQ(app.m.People[4].UserFile, ToBytes("user00004"));
}

} // namespace
} // namespace adultify
