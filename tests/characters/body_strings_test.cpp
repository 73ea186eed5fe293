#include "characters/body_strings.h"

#include "sample/iff_builder.h"
#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

using test::SampleGame;

const auto Child = test::Jo;

class BodyStringsTest : public ::testing::TestWithParam<bool> {};
ADULTIFY_OVER_BOTH_FILE_KINDS(BodyStringsTest);

TEST_P(BodyStringsTest, AppendsTheNumberedEntriesAfterTheDetails) {
    SampleGame g(SampleGame::OneHood(test::SmallHood({Child()}, {}, GetParam())));
    const std::size_t entries = GetParam() ? 34 : 35; // the table a player's file may hold
    g.ChooseHood();
    g.ClickResident(0);
    const int details = g.app.ui.ListCount("List2");
    (void)DispatchEvent(g.app.run(), "menu_iff", UiEvent::Click);
    const auto lines = g.app.ui.ListItems("List2");
    ASSERT_EQ(lines.size(), static_cast<std::size_t>(details) + entries);
    EXPECT_EQ(lines[static_cast<std::size_t>(details)], "1:child");
    EXPECT_EQ(lines[static_cast<std::size_t>(details + 8)], "9:") << "an empty value";
    EXPECT_EQ(lines[static_cast<std::size_t>(details + 13)], "14:9");
    EXPECT_EQ(g.app.ui.Caption("Label3"), "Idle");
    (void)DispatchEvent(g.app.run(), "menu_iff", UiEvent::Click);
    EXPECT_EQ(static_cast<std::size_t>(g.app.ui.ListCount("List2")),
              static_cast<std::size_t>(details) + 2 * entries)
        << "a second run appends again";
}

// A character file holding just one body-string table with the given data.
Bytes FileWithTable(const Bytes& data) {
    return sample::BuildIff({sample::Chunk{"STR#", 200, 0x0010, "bodystring", data}});
}

TEST(BodyStrings, TableBoundaries) {
    Bytes many = {0xFD, 0xFF, 0x02, 0x02}; // 514 entries: only the low byte counts
    for (int k = 0; k < 514; ++k)
        many.insert(many.end(), {1, 'v', 0, 0});
    struct Case {
        const char* what;
        Bytes data;
        std::vector<std::string> lines;
    } cases[] = {
        {"no entries", {0xFD, 0xFF, 0, 0}, {}},
        {"count modulo 256", many, {"1:v", "2:v"}},
        {"Windows-1252 text",
         {0xFD, 0xFF, 1, 0, 1, 'R', 'e', 'n', 0xE9, 'e', 0x80, 0, 0, 0xA3},
         {"1:Renée€"}},
        {"cut short", {0xFD, 0xFF, 3, 0, 1, 'a', 0, 0, 1, 'b', 'c'}, {"1:a", "2:bc"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        sample::SimSpec sim = Child();
        SampleGame g(SampleGame::OneHood(test::SmallHood({sim})));
        Bytes file = FileWithTable(c.data);
        if (std::string(c.what) == "cut short")
            file.resize(static_cast<std::size_t>(FindBytes(file, "rsmp", 1) - 1));
        test::WriteBytes(g.CharacterPath(sim), file);
        g.ChooseHood();
        g.app.ui.ListSelect("List1", 0);
        menu_iff_Click(g.app.m);
        EXPECT_EQ(g.app.ui.ListItems("List2"), c.lines);
        EXPECT_EQ(g.app.ui.Caption("Label3"), "Idle");
    }
}

TEST(BodyStrings, AFileWithoutTheTableIsReported) {
    sample::SimSpec sim = Child();
    sim.hasBodyStrings = false;
    SampleGame g(SampleGame::OneHood(test::SmallHood({sim})));
    g.ChooseHood();
    g.ClickResident(0);
    const int details = g.app.ui.ListCount("List2");
    (void)DispatchEvent(g.app.run(), "menu_iff", UiEvent::Click);
    EXPECT_EQ(g.app.ui.ListCount("List2"), details);
    ASSERT_EQ(g.app.ui.Messages().size(), 1u);
    EXPECT_NE(g.app.ui.Messages()[0].text.find("has no body-string table"), std::string::npos);
}

} // namespace
} // namespace adultify
