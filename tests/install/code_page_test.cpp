#include "install/code_page.h"

#include "install/wine_registry.h"
#include "sample/home_folder.h"
#include "tests/support/skip_on_windows.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <string>

namespace adultify {
namespace {

TEST(CodePage, DecodesNamesOfEveryLanguageTheGameWasSoldIn) {
    struct Case {
        int codePage;
        std::string_view bytes;
        std::string_view utf8;
    } cases[] = {
        {1251, "\xC8\xE2\xE0\xED", "Иван"},
        {932, "\x8E\x52\x93\x63", "山田"},
        {932, "\x83\x5C", "ソ"}, // its second byte is a backslash in ASCII
        {932, "\xB1\xB2", "ｱｲ"}, // half-width katakana, one byte each
        {936, "\xD6\xD0\xCE\xC4", "中文"},
        {949, "\xC7\xD1\xB1\xB9", "한국"},
        {950, "\xA4\xA4\xA4\xE5", "中文"},
        {1250, "\xA3\xF3\x64\x9F", "Łódź"},
        {1253, "\xC1\xE8\xDE\xED\xE1", "Αθήνα"},
        {1257, "\xE0\xF0", "ąš"},
        {874, "\xA1", "ก"},
        {1252, "\x81", "\xC2\x81"}, // an undefined byte stays a C1 control, as on Windows
        {65001, "Иван", "Иван"},
        {1251, std::string_view("a\0b", 3), std::string_view("a\0b", 3)},
        {932, "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DecodeCodePage(c.bytes, c.codePage), c.utf8) << c.codePage << " " << c.utf8;
}

TEST(CodePage, UndefinedBytesBecomeReplacementCharactersAndUnknownPagesReadAs1252) {
    const std::string r = "\xEF\xBF\xBD";
    EXPECT_EQ(DecodeCodePage("\x98", 1251), r);
    EXPECT_EQ(DecodeCodePage("\xAA!", 1253), r + "!");
    EXPECT_EQ(DecodeCodePage("\x8E\x52\x8E", 932), "山" + r) << "a lead byte cut off by the end";
    EXPECT_EQ(DecodeCodePage("\x82\x20\xC8", 932), r + " ﾈ")
        << "a lead byte without its trail byte: the next byte is read again";
    EXPECT_EQ(DecodeCodePage("\xC3(", 65001), r + "(");
    for (int page : {0, -1, 437, 1259, 99999})
        EXPECT_EQ(DecodeCodePage("\x80\xE9", page), "€é") << page;

    std::string expected; // longer than one conversion buffer
    for (int i = 0; i < 3000; ++i)
        expected += "И";
    EXPECT_EQ(DecodeCodePage(std::string(3000, '\xC8'), 1251), expected);
}

std::string CodePageKey(const std::string& values) {
    return "WINE REGISTRY Version 2\n#arch=win64\n\n"
           "[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\CodePage] 1796589601\n" +
           values + "\n";
}

TEST(CodePage, AWinePrefixsAcpValue) {
    ADULTIFY_SKIP_ON_WINDOWS("a Wine prefix's code page is read on Linux; Windows has its own");
    struct Case {
        std::string values;
        int expected;
    } cases[] = {
        {"\"ACP\"=\"1251\"", 1251},  {"\"acp\"=\"932\"", 932},  {"\"OEMCP\"=\"866\"", 1252},
        {"\"ACP\"=\"1251x\"", 1252}, {"\"ACP\"=\"437\"", 1252}, {"\"ACP\"=dword:000004e3", 1252},
    };
    for (const Case& c : cases) {
        WineRegistry reg = WineRegistry::FromText(CodePageKey(c.values));
        EXPECT_EQ(AnsiCodePage(reg), c.expected) << c.values;
    }

    test::TempDir dir;
    sample::PrefixSpec cyrillic;
    cyrillic.codePage = 1251;
    sample::WritePrefix(dir.path() / "cyrillic", cyrillic);
    sample::WritePrefix(dir.path() / "plain", sample::PrefixSpec{});
    EXPECT_EQ(PrefixCodePage(dir.path() / "cyrillic"), 1251);
    EXPECT_EQ(PrefixCodePage(dir.path() / "plain"), 1252);
    EXPECT_EQ(PrefixCodePage(dir.path() / "missing"), 1252);
}

} // namespace
} // namespace adultify
