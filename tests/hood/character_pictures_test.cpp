// The pictures of the selected resident, from its character file.
#include "hood/character_pictures.h"

#include "sample/game_model.h"
#include "sample/iff_check.h"
#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

TEST(ReadUserIff, ABitmapThePictureLoaderRejectsShowsTheStockPicture) {
    sample::SimSpec sim = test::Bob();
    test::SampleGame g(test::SampleGame::OneHood(test::SmallHood({sim})));
    Bytes file = sample::CharacterFile(sim);
    file[sample::FindCheckedChunk(file, "BMP_", 2002).value().offset + 76] = 'X'; // "BM" -> "XM"
    test::WriteBytes(g.CharacterPath(sim), file);
    g.ChooseHood();
    g.ClickResident(0);
    EXPECT_EQ(g.app.ui.Picture("Picture1").kind, HeadlessPicture::Kind::Bitmap);
    EXPECT_EQ(g.app.ui.Picture("Picture2").kind, HeadlessPicture::Kind::Stock);
    EXPECT_TRUE(std::filesystem::is_empty(g.HoodFolder() / "Export"))
        << "no temporary file anywhere";
    EXPECT_FALSE(std::filesystem::exists("temp.bmp"));
}

} // namespace
} // namespace adultify
