#include "install/reg_excerpt.h"

#include "install/code_page.h"
#include "install/game_location.h"
#include "install/wine_registry.h"

#include <gtest/gtest.h>

#include <string>

namespace adultify {
namespace {

constexpr std::string_view kNeedle = "maxis\\\\the sims]";

TEST(RegExcerpt, FindsTheKeyAnywhereInAnyCase) {
    const std::string filler(1000, 'x');
    // Each offset straddles a boundary of the blocks the search works in, or an end.
    for (std::size_t at : {0u, 1u, 240u, 241u, 255u, 256u, 257u, 511u, 512u, 984u}) {
        std::string text = filler;
        text.replace(at, kNeedle.size(), "MAXIS\\\\The Sims]");
        EXPECT_TRUE(ContainsIgnoringCase(text, kNeedle)) << at;
        text[at + 3] = '_';
        EXPECT_FALSE(ContainsIgnoringCase(text, kNeedle)) << at;
    }
    EXPECT_TRUE(ContainsIgnoringCase("Maxis\\\\The Sims]", kNeedle));
    EXPECT_FALSE(ContainsIgnoringCase("Maxis\\\\The Sims", kNeedle));
    EXPECT_FALSE(ContainsIgnoringCase("", kNeedle));
    EXPECT_TRUE(ContainsIgnoringCase("", ""));
    // Bytes that differ only in bit 5 but are not letters: '|' and '\', '}' and ']', '@' and '`'.
    EXPECT_FALSE(ContainsIgnoringCase(filler + "maxis||the sims}" + filler, kNeedle));
    EXPECT_FALSE(ContainsIgnoringCase(filler + "maxis\\\\the sims}" + filler, kNeedle));
    EXPECT_FALSE(ContainsIgnoringCase("@", "`"));
}

constexpr std::string_view kSystemReg =
    "WINE REGISTRY Version 2\n"
    ";; All keys relative to \\\\Machine\n\n"
    "#arch=win64\n\n"
    "[Software\\\\Maxis\\\\The Sims 2] 1796589600\n"
    "\"SIMS_DATA\"=\"C:\\\\Wrong\"\n\n"
    "[SOFTWARE\\\\WOW6432NODE\\\\MAXIS\\\\THE SIMS] 1796589658\n"
    "#time=1d9a0b3c4d5e6f8\n"
    "\"SIMS_DATA\"=\"C:\\\\Right\"\n"
    "\"Blob\"=hex:00,\\\n"
    "  01\n\n"
    "[Software\\\\Maxis\\\\The Sims\\\\Sub] 1796589659\n"
    "\"SIMS_DATA\"=\"C:\\\\Sub\"\n\n"
    "[System\\\\CurrentControlSet\\\\Control\\\\Nls\\\\CodePage]\n"
    "\"ACP\"=\"1251\"";

TEST(RegExcerpt, KeepsOnlyTheSectionsAsked) {
    const std::string excerpt =
        RegistryExcerpt(kSystemReg, {"Software\\Wow6432Node\\Maxis\\The Sims", kCodePageKey});
    EXPECT_EQ(excerpt.find("Wrong"), std::string::npos) << "a longer key name";
    EXPECT_EQ(excerpt.find("C:\\\\Sub"), std::string::npos) << "a subkey";
    WineRegistry reg = WineRegistry::FromText(excerpt);
    EXPECT_EQ(GetSimsPath(reg), "C:\\Right\\");
    EXPECT_EQ(AnsiCodePage(reg), 1251) << "the last line, without its line feed";
    EXPECT_EQ(GetRegValue(reg, RegRoot::LocalMachine, "Software\\Maxis\\The Sims", "Blob"), "256")
        << "a value continued on the next line";
    EXPECT_EQ(RegistryExcerpt(kSystemReg, {"Software\\Nothing"}), "WINE REGISTRY Version 2\n");
}

} // namespace
} // namespace adultify
