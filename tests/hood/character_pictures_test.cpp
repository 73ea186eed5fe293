// The pictures of the selected resident, from its character file.
#include "hood/character_pictures.h"

#include "iff/character_file.h"
#include "sample/game_model.h"
#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

TEST(ReadUserIff, ABitmapThePictureLoaderRejectsShowsTheStockPicture) {
    sample::SimSpec sim = test::Sim("user00001", "Bob", 27, 0x81828384);
    test::SampleGame g(test::SampleGame::OneHood(test::SmallHood({sim})));
    Bytes file = sample::CharacterFile(sim);
    const Position p = FindFaceChunk(file);
    file[static_cast<std::size_t>(p + 75)] = 'X'; // "BM" becomes "XM"
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
