#include "iff/character_file.h"

#include "sample/bitmap.h"
#include "sample/game_model.h"
#include "sample/iff_check.h"

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

// The 1-based position of a picture chunk's tag, by the sample's own reading of the file.
Position PictureAt(const Bytes& file, unsigned id) {
    return static_cast<Position>(sample::FindCheckedChunk(file, "BMP_", id).value().offset) + 1;
}

TEST(PictureChunks, ThumbnailByEitherLabelFaceByItsSize) {
    sample::SimSpec sim;
    const Bytes made = sample::CharacterFile(sim);
    sim.thumbnailLabelledNewimage = false;
    const Bytes shipped = sample::CharacterFile(sim);
    EXPECT_EQ(FindThumbnailChunk(made), PictureAt(made, 2004));
    EXPECT_EQ(FindThumbnailChunk(shipped), PictureAt(shipped, 2004));
    EXPECT_EQ(FindFaceChunk(made), PictureAt(made, 2002));
    Bytes wrongSize = made;
    wrongSize[static_cast<std::size_t>(PictureAt(made, 2004) + 6)] = 0xEF; // size 2031
    EXPECT_EQ(FindThumbnailChunk(wrongSize), 0);
}

} // namespace
} // namespace adultify
