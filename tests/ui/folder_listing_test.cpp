// The listing rule the window layers share, at its edges: patterns, drives of nested folders,
// folders that are not there.
#include "ui/folder_listing.h"

#include "tests/support/temp_dir.h"
#include "text/path_text.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

TEST(ListFiles, MatchesThePatternWhateverTheLetterCase) {
    test::TempDir dir;
    for (const char* name : {"a.iff", "B.IFF", "a.iffx", "iff", ".IFF", "x.if", "User00001.Iff"})
        test::WriteBytes(dir.path() / name, Bytes{1});
    fs::create_directories(dir.path() / "Characters.iff");
    struct Case {
        const char* pattern;
        Names expected;
    };
    for (const Case& c :
         {Case{"*.IFF", {".IFF", "a.iff", "B.IFF", "User00001.Iff"}},
          Case{"?.iff", {"a.iff", "B.IFF"}}, Case{"u*1.*", {"User00001.Iff"}},
          Case{"*.if?", {".IFF", "a.iff", "B.IFF", "User00001.Iff"}}, Case{"iff", {"iff"}},
          Case{"", {}},
          Case{"*", {".IFF", "a.iff", "a.iffx", "B.IFF", "iff", "User00001.Iff", "x.if"}}})
        EXPECT_EQ(ListFiles(dir.str(), c.pattern), c.expected) << c.pattern;
    EXPECT_TRUE(ListFiles(PathText(dir.path() / "gone"), "*").empty());
}

TEST(DriveHolding, IsTheLongestRootThatHoldsTheFolderWholeNamesOnly) {
    const fs::path base = fs::temp_directory_path() / "no-such-prefix";
    const std::vector<DriveEntry> drives = {{PathText(base.root_path()), "machine"},
                                            {PathText(base / "drive_c"), "c:"},
                                            {PathText(base.root_path()), "z:"},
                                            {PathText(base / "drive_c" / "users"), "u:"}};
    EXPECT_EQ(DriveHolding(drives, PathText(base / "drive_c" / "users" / "steamuser")), 3);
    EXPECT_EQ(DriveHolding(drives, PathText(base / "drive_c" / "")), 1);
    EXPECT_EQ(DriveHolding(drives, PathText(base / "drive_cx")), 0) << "not a folder of drive_c";
    EXPECT_EQ(DriveHolding(drives, PathText(base)), 0)
        << "the machine's before z: for the same root";
    EXPECT_EQ(DriveHolding({}, PathText(base)), -1);
}

TEST(ListFolders, AFolderThatIsNotThereShowsItsWayDownOnly) {
    test::TempDir dir;
    const std::vector<FolderEntry> gone = ListFolders(PathText(dir.path() / "gone" / "deeper"));
    ASSERT_GE(gone.size(), 3u);
    EXPECT_EQ(OpenFolderLine(gone), static_cast<int>(gone.size()) - 1);
    EXPECT_EQ(gone.back().name, "deeper");
    EXPECT_EQ(gone.back().depth, static_cast<int>(gone.size()) - 1);
    EXPECT_EQ(gone.front().name, PathText(dir.path().root_path())) << "a root is shown whole";

    const std::vector<FolderEntry> root = ListFolders(PathText(dir.path().root_path()));
    EXPECT_EQ(OpenFolderLine(root), 0);
    EXPECT_GT(root.size(), 1u) << "the root's own folders";
    EXPECT_EQ(root[1].depth, 1);
    EXPECT_FALSE(root[1].open);
}

} // namespace
} // namespace adultify
