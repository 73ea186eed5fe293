#include "tools/thumbnail_fix.h"

#include "iff/native_file_system.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

using test::SampleGame;

TEST(RemoveBitmapTags, ScanBoundsAndCase) {
    struct Case {
        std::string in, out;
        int count;
    } cases[] = {
        {"BMP_xx_PMBxxBMP_yyyy", "XXXXxxXXXXxxXXXXyyyy", 3},
        {"bmp_ _pmb BMP", "bmp_ _pmb BMP", 0},
        {"xxxxBMP_", "xxxxBMP_", 0}, // the last four bytes are never examined
        {"xxxBMP_x", "xxxXXXXx", 1},
        {"BMP_", "BMP_", 0},
        {"", "", 0},
        {"BMP_MP_PMB", "XXXXMP_PMB", 1}, // overlapping windows start with X once replaced
    };
    for (const Case& c : cases) {
        Bytes data = ToBytes(c.in);
        EXPECT_EQ(RemoveBitmapTags(data), c.count) << c.in;
        EXPECT_EQ(AsText(data), c.out) << c.in;
    }
}

class ThumbnailFixTest : public ::testing::Test {
  protected:
    ThumbnailFixTest()
        : g(SampleGame::OneHood(test::SmallHood({test::Sim("user00001", "Bob", 27, 0x81828384)}))) {
        before = test::ReadBytes(g.CharacterPath(sim()));
        g.ChooseHood();
        g.ClickResident(0);
    }
    static sample::SimSpec sim() { return test::Sim("user00001", "Bob", 27, 0x81828384); }
    void Answer(MsgAnswer a) {
        g.app.ui.answerMessage = [a](const MessageRecord& r) {
            return r.buttons == MsgButtons::YesNo ? a : MsgAnswer::Ok;
        };
    }
    SampleGame g;
    Bytes before;
};

TEST_F(ThumbnailFixTest, NoLeavesTheFileAlone) {
    Answer(MsgAnswer::No);
    (void)DispatchEvent(g.app.m, "menu_fix_thumbnails", UiEvent::Click);
    ASSERT_EQ(g.app.ui.Messages().size(), 2u);
    EXPECT_EQ(g.app.ui.Messages()[0].text, ThumbnailWarningText());
    EXPECT_EQ(g.app.ui.Messages()[0].icon, MsgIcon::Information);
    EXPECT_EQ(g.app.ui.Messages()[0].title, "WARNING");
    EXPECT_EQ(g.app.ui.Messages()[1].text, "Thumbnail removal cancelled");
    EXPECT_EQ(g.app.ui.Messages()[1].title, "Aborted");
    EXPECT_EQ(test::ReadBytes(g.CharacterPath(sim())), before);
    EXPECT_TRUE(g.app.ui.PointerHistory().empty());
}

TEST_F(ThumbnailFixTest, YesReplacesEveryTagAndShowsTheStockPictures) {
    Answer(MsgAnswer::Yes);
    Bytes expected = before;
    const int tags = RemoveBitmapTags(expected);
    ASSERT_EQ(tags, 6 + 1) << "six bitmaps and the index's reversed tag";
    (void)DispatchEvent(g.app.m, "menu_fix_thumbnails", UiEvent::Click);
    EXPECT_EQ(test::ReadBytes(g.CharacterPath(sim())), expected);
    EXPECT_EQ(g.app.ui.Messages().back().text, "Done. 7 replacements made");
    EXPECT_EQ(g.app.ui.Messages().back().title, "Complete");
    EXPECT_EQ(g.app.ui.Messages().back().icon, MsgIcon::None);
    EXPECT_EQ(g.app.ui.Picture("Picture1").kind, HeadlessPicture::Kind::Stock);
    EXPECT_EQ(g.app.ui.Picture("Picture2").kind, HeadlessPicture::Kind::Stock);
    EXPECT_EQ(g.app.ui.PointerHistory(),
              (std::vector<MousePointer>{MousePointer::Hourglass, MousePointer::Default}));

    (void)DispatchEvent(g.app.m, "menu_fix_thumbnails", UiEvent::Click);
    EXPECT_EQ(g.app.ui.Messages().back().text, "Done. 0 replacements made");
}

TEST(ThumbnailFix, AFileThatCannotBeWrittenIsReportedAndKept) {
    NativeFileSystem native;
    test::FaultyFileSystem faulty(native);
    SampleGame g(
        SampleGame::OneHood(test::SmallHood({test::Sim("user00001", "Bob", 27, 0x81828384)})),
        &faulty);
    const auto path = g.CharacterPath(test::Sim("user00001", "Bob", 27, 0x81828384));
    const Bytes before = test::ReadBytes(path);
    g.ChooseHood();
    g.ClickResident(0);
    g.app.ui.answerMessage = [](const MessageRecord& r) {
        return r.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    };
    faulty.operations = 0;
    faulty.failAt = 0;
    (void)DispatchEvent(g.app.m, "menu_fix_thumbnails", UiEvent::Click);
    EXPECT_EQ(test::ReadBytes(path), before);
    EXPECT_EQ(g.app.ui.Messages().back().icon, MsgIcon::Critical);
    EXPECT_NE(g.app.ui.Messages().back().text.find("User00001.iff"), std::string::npos);
    EXPECT_EQ(g.app.ui.Pointer(), MousePointer::Default);
}

TEST(ThumbnailFix, NothingHappensWithoutASelectionOrACharacterFile) {
    SampleGame g(
        SampleGame::OneHood(test::SmallHood({test::Sim("user00001", "Bob", 27, 0x81828384)})));
    g.ChooseHood();
    g.app.ui.answerMessage = [](const MessageRecord& r) {
        return r.buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    };
    g.app.ui.SetEnabled("menu_fix_thumbnails", true);
    menu_fix_thumbnails_Click(g.app.m);
    EXPECT_EQ(g.app.ui.Messages().size(), 1u) << "only the warning";
    g.ClickResident(0);
    std::filesystem::remove(g.CharacterPath(test::Sim("user00001", "Bob", 27, 0x81828384)));
    menu_fix_thumbnails_Click(g.app.m);
    EXPECT_EQ(g.app.ui.Messages().size(), 2u);
    EXPECT_EQ(g.app.ui.Pointer(), MousePointer::Default);
}

} // namespace
} // namespace adultify
