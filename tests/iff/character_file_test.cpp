#include "iff/character_file.h"

#include "sample/bitmap.h"
#include "sample/game_model.h"
#include "tests/support/sample_game.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

TEST(UserFileNames, OnlyNamesThatStayInTheCharactersFolderAreSafe) {
    for (const char* good : {"user00001", "USER0000A", "User é12"})
        EXPECT_TRUE(IsSafeUserFileName(ToBytes(good))) << good;
    for (const std::string& bad :
         std::vector<std::string>{"USER/0001", "USER\\0001", "USER:0001", "USER..001",
                                  std::string("USER\0"
                                              "0001",
                                              9),
                                  "USER\t0001",
                                  "USER\x7f"
                                  "0001",
                                  ""})
        EXPECT_FALSE(IsSafeUserFileName(ToBytes(bad))) << bad;
}

TEST(UserFilePath, FollowsTheChosenNeighbourhood) {
    test::HeadlessApp app;
    app.m.SimsPath = "C:\\Sims\\";
    app.ui.ListAdd("Combo1", "Neighbourhood 1");
    app.ui.ListAdd("Combo1", "Neighbourhood 3");
    app.ui.ListSelect("Combo1", 0);
    EXPECT_EQ(UserFilePath(app.m, ToBytes("user00001")),
              "C:\\Sims\\UserData\\Characters\\user00001.iff");
    app.ui.ListSelect("Combo1", 1);
    EXPECT_EQ(UserFilePath(app.m, ToBytes("user00001")),
              "C:\\Sims\\UserData3\\Characters\\user00001.iff");
    EXPECT_FALSE(UserFilePath(app.m, ToBytes("USER/../x")).has_value());
}

TEST(PictureChunks, ThumbnailByEitherLabelFaceByItsSize) {
    sample::SimSpec sim;
    const Bytes made = sample::CharacterFile(sim);
    sim.thumbnailLabelledNewimage = false;
    const Bytes shipped = sample::CharacterFile(sim);
    EXPECT_GT(FindThumbnailChunk(made), 0);
    EXPECT_GT(FindThumbnailChunk(shipped), 0);
    EXPECT_GT(FindFaceChunk(made), 0);
    Bytes wrongSize = made;
    const Position p = FindThumbnailChunk(wrongSize);
    wrongSize[static_cast<std::size_t>(p + 6)] = 0xEF; // size 2031
    EXPECT_EQ(FindThumbnailChunk(wrongSize), 0);
}

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
