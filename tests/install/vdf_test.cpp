#include "install/vdf.h"

#include <gtest/gtest.h>

#include <string>

namespace adultify {
namespace {

// As Steam on Windows writes it, with a comment and a second library added by hand.
constexpr std::string_view kLibraryFolders = R"("libraryfolders"
{
	// the install's own library
	"0"
	{
		"path"		"C:\\Program Files (x86)\\Steam"
		"label"		""
		"contentid"		"4729166284913722212"
		"totalsize"		"0"
		"apps"
		{
			"228980"		"405089123"
			"3314060"		"1931476521"
		}
	}
	"1"
	{
		"path"		"D:\\SteamLibrary"
		"label"		"Games \"fast\" disk"
		"apps" { }
	}
}
)";

TEST(Vdf, ReadsSteamsLibraryFoldersIntoATree) {
    const VdfResult r = ParseVdf(kLibraryFolders);
    ASSERT_TRUE(r.ok()) << r.error << " at " << r.offset;
    const VdfNode* folders = r.root.Child("LibraryFolders"); // keys match in any letter case
    ASSERT_TRUE(folders && folders->block);
    ASSERT_EQ(folders->children.size(), 2u);
    const VdfNode& first = folders->children[0];
    EXPECT_EQ(first.Child("path")->value, "C:\\Program Files (x86)\\Steam");
    const VdfNode* apps = first.Child("apps");
    ASSERT_TRUE(apps && apps->children.size() == 2);
    EXPECT_EQ(apps->children[1].key + "=" + apps->children[1].value, "3314060=1931476521");
    const VdfNode& second = folders->children[1];
    EXPECT_EQ(second.Child("path")->value, "D:\\SteamLibrary");
    EXPECT_EQ(second.Child("label")->value, "Games \"fast\" disk");
    EXPECT_TRUE(second.Child("apps")->block && second.Child("apps")->children.empty());
    EXPECT_EQ(second.Child("missing"), nullptr);
}

TEST(Vdf, EscapesCommentsAndUnquotedTokens) {
    struct Case {
        std::string_view text;
        std::string_view key;
        std::string_view value;
    } cases[] = {
        {R"("k" "a\\b")", "k", "a\\b"},
        {R"("k" "say \"hi\"")", "k", "say \"hi\""},
        {R"("k" "line\nnext\tcol")", "k", "line\nnext\tcol"},
        {R"("k" "D:\Games\q")", "k", "D:\\Games\\q"}, // unknown escapes kept as written
        {R"("k" "ends in backslash\\")", "k", "ends in backslash\\"},
        {"k value", "k", "value"},
        {"// a comment \"x\" {\n\"k\" \"v\" // trailing\n", "k", "v"},
        {R"("k" "a // not a comment")", "k", "a // not a comment"},
        {"\"k\" \"v\" [$WIN32]", "k", "v"},
        {"\xEF\xBB\xBF\"k\" \"v\"", "k", "v"},
        {"\"k\"\r\n\"multi\r\nline\"", "k", "multi\r\nline"},
    };
    for (const Case& c : cases) {
        const VdfResult r = ParseVdf(c.text);
        ASSERT_TRUE(r.ok()) << c.text << ": " << r.error;
        ASSERT_EQ(r.root.children.size(), 1u) << c.text;
        EXPECT_EQ(r.root.children[0].key, c.key) << c.text;
        EXPECT_EQ(r.root.children[0].value, c.value) << c.text;
        EXPECT_FALSE(r.root.children[0].block) << c.text;
    }
    EXPECT_TRUE(ParseVdf("").ok());
    EXPECT_TRUE(ParseVdf("  // only a comment").ok());
}

TEST(Vdf, GarbledTextIsAnErrorAtItsPlace) {
    struct Case {
        std::string_view text;
        std::size_t offset;
    } cases[] = {
        {R"("k" "unterminated)", 4},  {R"("k")", 3},         {R"("k" })", 4},
        {R"("k" { "a" "b")", 13},     {R"(})", 0},           {R"({ "a" "b" })", 0},
        {R"("k" { "a" { } } })", 16}, {R"("k" [$WIN32)", 4},
    };
    for (const Case& c : cases) {
        const VdfResult r = ParseVdf(c.text);
        EXPECT_FALSE(r.ok()) << c.text;
        EXPECT_EQ(r.offset, c.offset) << c.text << ": " << r.error;
    }
}

TEST(Vdf, EveryTruncationOfARealFileIsAnErrorUntilTheLastBrace) {
    const std::size_t lastBrace = kLibraryFolders.rfind('}');
    for (std::size_t n = 0; n <= kLibraryFolders.size(); ++n) {
        const VdfResult r = ParseVdf(kLibraryFolders.substr(0, n));
        EXPECT_EQ(r.ok(), n == 0 || n > lastBrace) << "cut at " << n;
    }
    // What came before the cut is kept: the first library survives a cut in the second.
    const VdfResult cut = ParseVdf(kLibraryFolders.substr(0, kLibraryFolders.find("D:\\")));
    ASSERT_FALSE(cut.ok());
    EXPECT_EQ(cut.root.Child("libraryfolders")->Child("0")->Child("path")->value,
              "C:\\Program Files (x86)\\Steam");
}

TEST(Vdf, NestingIsLimited) {
    auto nested = [](int depth) {
        std::string text;
        for (int i = 0; i < depth; ++i)
            text += "\"a\" { ";
        text += "\"leaf\" \"x\"";
        for (int i = 0; i < depth; ++i)
            text += " }";
        return text;
    };
    EXPECT_TRUE(ParseVdf(nested(kVdfMaxDepth)).ok());
    EXPECT_FALSE(ParseVdf(nested(kVdfMaxDepth + 1)).ok());
    // Far deeper than any stack would take if the parser recursed without a limit.
    const VdfResult deep = ParseVdf(nested(1'000'000));
    EXPECT_FALSE(deep.ok());
    EXPECT_EQ(deep.offset, 6u * kVdfMaxDepth + 4);
}

} // namespace
} // namespace adultify
