#include "characters/thumbnail_fix.h"

#include "files/native_file_system.h"
#include "sample/iff_check.h"
#include "tests/support/faulty_file_system.h"
#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace adultify {
namespace {

using test::SampleGame;

using test::Bob;

// Windows start at 1 to length - 4: a tag in the last four bytes is never looked at.
TEST(RemoveBitmapTags, ScanBoundsOverlapsAndCase) {
    struct Case {
        std::string in, out;
        int count;
    } cases[] = {
        {"BMP_xx_PMBxxBMP_yyyy", "XXXXxxXXXXxxXXXXyyyy", 3},
        {"_PMBx", "XXXXx", 1},       // the shortest file with a window
        {"xxxBMP_x", "xxxXXXXx", 1}, // the last window examined
        {"xxxxBMP_", "xxxxBMP_", 0}, // the first one not examined
        {"BMP_", "BMP_", 0},
        {"", "", 0},
        {"BMP_PMBxxxx", "XXXXPMBxxxx", 1}, // a replaced tag hides the overlapping one
        {"_PMBMP_xxxx", "XXXXMP_xxxx", 1},
        {"BMBMP_xx", "BMXXXXxx", 1}, // a partial tag before a whole one
        {"bmp_ _pmb BMP", "bmp_ _pmb BMP", 0},
        {"BMP_BMP__PMBx", "XXXXXXXXXXXXx", 3},
    };
    for (const Case& c : cases) {
        Bytes data = ToBytes(c.in);
        EXPECT_EQ(RemoveBitmapTags(data), c.count) << c.in;
        EXPECT_EQ(AsText(data), c.out) << c.in;
    }
}

class ThumbnailFixTest : public ::testing::TestWithParam<bool> {
  protected:
    ThumbnailFixTest() : g(SampleGame::OneHood(test::SmallHood({Bob()}, {}, GetParam()))) {
        before = test::ReadBytes(g.CharacterPath(Bob()));
        g.ChooseHood();
        g.ClickResident(0);
    }
    void Answer(MsgAnswer a) {
        g.app.ui.answerMessage = [a](const MessageRecord& r) {
            return r.buttons == MsgButtons::YesNoDefaultNo ? a : MsgAnswer::Ok;
        };
    }
    SampleGame g;
    Bytes before;
};
ADULTIFY_OVER_BOTH_FILE_KINDS(ThumbnailFixTest);

TEST_P(ThumbnailFixTest, NoLeavesTheFileAlone) {
    Answer(MsgAnswer::No);
    (void)DispatchEvent(g.app.run(), "menu_fix_thumbnails", UiEvent::Click);
    ASSERT_EQ(g.app.ui.Messages().size(), 2u);
    EXPECT_NE(g.app.ui.Messages()[0].text.find("at your own risk"), std::string::npos);
    EXPECT_EQ(g.app.ui.Messages()[0].icon, MsgIcon::Information);
    EXPECT_EQ(g.app.ui.Messages()[0].title, "WARNING");
    EXPECT_EQ(g.app.ui.Messages()[1].text, "Thumbnail removal cancelled");
    EXPECT_EQ(g.app.ui.Messages()[1].title, "Aborted");
    EXPECT_EQ(test::ReadBytes(g.CharacterPath(Bob())), before);
    EXPECT_TRUE(g.app.ui.PointerHistory().empty());
}

TEST_P(ThumbnailFixTest, YesReplacesEveryTagAndShowsTheStockPictures) {
    Answer(MsgAnswer::Yes);
    // Every picture chunk the generator wrote, and the reversed tag of its index's type list.
    Bytes expected = before;
    int bitmaps = 0;
    for (const sample::CheckedChunk& c : sample::CheckIff(before).chunks) {
        if (c.type == "BMP_") {
            std::copy_n("XXXX", 4, expected.begin() + c.offset);
            ++bitmaps;
        } else if (c.type == "rsmp") {
            const auto rsmp = expected.begin() + c.offset;
            const std::string_view tag = "_PMB";
            const auto list = std::search(rsmp, rsmp + c.size, tag.begin(), tag.end());
            ASSERT_NE(list, rsmp + c.size);
            std::copy_n("XXXX", 4, list);
        }
    }
    ASSERT_EQ(bitmaps, 6) << "relationship, faces, two hair, thumbnail, web";
    (void)DispatchEvent(g.app.run(), "menu_fix_thumbnails", UiEvent::Click);
    EXPECT_EQ(test::ReadBytes(g.CharacterPath(Bob())), expected);
    EXPECT_EQ(g.app.ui.Messages().back().text, "Done. 7 replacements made");
    EXPECT_EQ(g.app.ui.Messages().back().title, "Complete");
    EXPECT_EQ(g.app.ui.Messages().back().icon, MsgIcon::None);
    EXPECT_EQ(g.app.ui.Picture("Picture1").kind, HeadlessPicture::Kind::Stock);
    EXPECT_EQ(g.app.ui.Picture("Picture2").kind, HeadlessPicture::Kind::Stock);
    EXPECT_EQ(g.app.ui.PointerHistory(),
              (std::vector<MousePointer>{MousePointer::Hourglass, MousePointer::Default}));

    (void)DispatchEvent(g.app.run(), "menu_fix_thumbnails", UiEvent::Click);
    EXPECT_EQ(g.app.ui.Messages().back().text, "Done. 0 replacements made");
}

TEST(ThumbnailFix, AFileThatCannotBeWrittenIsReportedAndKept) {
    NativeFileSystem native;
    test::FaultyFileSystem faulty(native);
    SampleGame g(SampleGame::OneHood(test::SmallHood({Bob()})), &faulty);
    const auto path = g.CharacterPath(Bob());
    const Bytes before = test::ReadBytes(path);
    g.ChooseHood();
    g.ClickResident(0);
    g.app.ui.answerMessage = [](const MessageRecord& r) {
        return r.buttons == MsgButtons::YesNoDefaultNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    };
    faulty.operations = 0;
    faulty.failAt = 0;
    (void)DispatchEvent(g.app.run(), "menu_fix_thumbnails", UiEvent::Click);
    EXPECT_EQ(test::ReadBytes(path), before);
    EXPECT_EQ(g.app.ui.Messages().back().icon, MsgIcon::Critical);
    EXPECT_NE(g.app.ui.Messages().back().text.find("User00001.iff"), std::string::npos);
    EXPECT_EQ(g.app.ui.Pointer(), MousePointer::Default);
}

TEST(ThumbnailFix, NothingHappensWithoutASelectionOrACharacterFile) {
    SampleGame g(SampleGame::OneHood(test::SmallHood({Bob()})));
    g.ChooseHood();
    g.app.ui.answerMessage = [](const MessageRecord& r) {
        return r.buttons == MsgButtons::YesNoDefaultNo ? MsgAnswer::Yes : MsgAnswer::Ok;
    };
    g.app.ui.SetEnabled("menu_fix_thumbnails", true);
    menu_fix_thumbnails_Click(g.app.m);
    EXPECT_EQ(g.app.ui.Messages().size(), 1u) << "only the warning";
    g.ClickResident(0);
    std::filesystem::remove(g.CharacterPath(Bob()));
    menu_fix_thumbnails_Click(g.app.m);
    EXPECT_EQ(g.app.ui.Messages().size(), 2u);
    EXPECT_EQ(g.app.ui.Pointer(), MousePointer::Default);
}

} // namespace
} // namespace adultify
