#include "install/wine_registry.h"

#include "install/game_location.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

std::string Reg(const std::string& values,
                const std::string& key = "Software\\\\Maxis\\\\The Sims") {
    return "WINE REGISTRY Version 2\n#arch=win32\n\n[" + key + "] 1796589658\n#time=1d9\n" +
           values + "\n";
}

std::string SimsData(const std::string& values,
                     const std::string& key = "Software\\\\Maxis\\\\The Sims") {
    WineRegistry reg = WineRegistry::FromText(Reg(values, key));
    return GetSimsPath(reg);
}

TEST(WineRegistry, DecodesWinesEscapes) {
    std::size_t used = 0;
    EXPECT_EQ(DecodeRegString(R"(C:\\Games\\The Sims" tail)", &used), "C:\\Games\\The Sims");
    EXPECT_EQ(used, 20u);
    EXPECT_EQ(DecodeRegString(R"(a\"b\n\t\x41\x263a\101\0end")", nullptr),
              std::string("a\"b\n\tA\xE2\x98\xBA"
                          "A") +
                  std::string(1, '\0') + "end");
    EXPECT_EQ(DecodeRegString(R"(\xd83d\xde00")", nullptr), "\xF0\x9F\x98\x80") << "surrogate pair";
}

// The game folder as the value is stored, with one backslash added only when missing.
TEST(GetSimsPath, EveryFormOfTheValue) {
    const struct {
        const char* what;
        std::string values, folder;
    } cases[] = {
        {"ends without", R"("SIMS_DATA"="C:\\Games\\The Sims")", "C:\\Games\\The Sims\\"},
        {"ends with", R"("SIMS_DATA"="C:\\Games\\The Sims\\")", "C:\\Games\\The Sims\\"},
        {"empty", R"("SIMS_DATA"="")", "Not Found"},
        {"text up to the first zero", R"("SIMS_DATA"="C:\\Sims\0junk")", "C:\\Sims\\"},
        {"two bytes", R"("SIMS_DATA"=hex:34,12)", "4660\\"},
        {"two bytes, signed", R"("SIMS_DATA"=hex:ff,ff)", "-1\\"},
        {"longer than two bytes", R"("SIMS_DATA"=hex:01,02,03)", "Not Found"},
        {"a number", R"("SIMS_DATA"=dword:00001234)", "Not Found"},
        {"a typed string", R"("SIMS_DATA"=str(2):"C:\\Sims")", "Not Found"},
        {"another name", R"("OTHER"="C:\\Sims")", "Not Found"},
        {"names match without case", R"("sims_data"="C:\\Sims")", "C:\\Sims\\"},
        // "C:\Sé" as UTF-16LE with its terminator, spread over two lines.
        {"UTF-16 over a continuation line",
         "\"SIMS_DATA\"=hex(1):43,00,3a,00,5c,00,53,00,\\\n  e9,00,00,00", "C:\\S\xC3\xA9\\"},
        // As Wine writes them: \x escapes of UTF-16 units, four digits before a hex letter.
        {"Cyrillic escaped", R"("SIMS_DATA"="C:\\\x418\x433\x440\x44b\\The Sims")",
         "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\The Sims\\"},
        {"Japanese escaped", R"("SIMS_DATA"="D:\\\x30b2\x30fc\x30e0\\\x044bab")",
         "D:\\\xE3\x82\xB2\xE3\x83\xBC\xE3\x83\xA0\\\xD1\x8B"
         "ab\\"},
        {"raw UTF-8 in the file", "\"SIMS_DATA\"=\"C:\\\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\"",
         "C:\\\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B\\"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SimsData(c.values), c.folder) << c.what;
}

TEST(WineRegistry, PrefersTheWow6432NodeCopy) {
    const std::string text =
        "WINE REGISTRY Version 2\n#arch=win64\n\n"
        "[Software\\\\Maxis\\\\The Sims] 1\n\"SIMS_DATA\"=\"C:\\\\Native64\"\n\n"
        "[Software\\\\Wow6432Node\\\\Maxis\\\\The Sims] 1\n\"SIMS_DATA\"=\"C:\\\\Wow\"\n";
    WineRegistry reg = WineRegistry::FromText(text);
    EXPECT_EQ(GetSimsPath(reg), "C:\\Wow\\");
    EXPECT_EQ(SimsData(R"("SIMS_DATA"="C:\\Only")", "SOFTWARE\\\\wow6432node\\\\MAXIS\\\\the sims"),
              "C:\\Only\\");
}

TEST(WineRegistry, MissingKeyFileOrHeaderGivesNothing) {
    WineRegistry none = WineRegistry::FromText(
        "REGEDIT4\n[Software\\\\Maxis\\\\The Sims]\n\"SIMS_DATA\"=\"C:\\\\x\"\n");
    EXPECT_EQ(GetSimsPath(none), "Not Found");
    WineRegistry missing = WineRegistry::FromPrefix("/nonexistent-prefix");
    EXPECT_EQ(GetSimsPath(missing), "Not Found");
    WineRegistry other =
        WineRegistry::FromText(Reg(R"("SIMS_DATA"="C:\\x")", "Software\\\\Maxis\\\\SimCity"));
    EXPECT_EQ(GetSimsPath(other), "Not Found");
}

} // namespace
} // namespace adultify
