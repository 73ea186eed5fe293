#include "iff/character_file.h"

#include "sample/bitmap.h"
#include "sample/game_model.h"

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

} // namespace
} // namespace adultify
