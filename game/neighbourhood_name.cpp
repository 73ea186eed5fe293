#include "game/neighbourhood_name.h"

#include "core/utilities.h"
#include "game/code_page.h"
#include "iff/ascii.h"
#include "iff/character_file.h"

namespace adultify {

std::string HoodEntryText(int n) {
    return std::string(kHoodEntryPrefix) + WithSignPosition(n);
}

int HoodNumber(std::string_view entryText) {
    if (entryText.size() <= kHoodEntryPrefix.size()) return 0;
    return static_cast<int>(LeadingNumber(entryText.substr(kHoodEntryPrefix.size())));
}

std::string HoodFolder(int n) {
    return n == 1 ? "UserData" : "UserData" + std::to_string(n);
}

int HoodOfFolderName(std::string_view name) {
    // Only the game's own spellings count: "UserData1" and "UserData02" are not neighbourhoods.
    constexpr std::string_view stem = "userdata";
    if (name.size() < stem.size() || !EqualIgnoringCase(name.substr(0, stem.size()), stem))
        return 0;
    const std::string_view digits = name.substr(stem.size());
    if (digits.empty()) return kFirstHood;
    if (digits.size() > 2 || digits[0] == '0' ||
        digits.find_first_not_of("0123456789") != std::string_view::npos)
        return 0;
    const int n = static_cast<int>(LeadingNumber(digits));
    return n >= 2 && n <= kLastHood ? n : 0;
}

std::string HoodBaseName(std::string_view simsPath, int n) {
    return std::string(simsPath) + HoodFolder(n) + "\\Neighborhood";
}

std::string HoodFile(std::string_view simsPath, int n) {
    return HoodBaseName(simsPath, n) + ".iff";
}

std::string CharactersFolder(std::string_view simsPath, int n) {
    return std::string(simsPath) + HoodFolder(n) + "\\Characters\\";
}

std::optional<std::string> UserFilePath(std::string_view simsPath, int n, const Bytes& userFile,
                                        int codePage) {
    if (!IsSafeUserFileName(userFile)) return std::nullopt;
    return CharactersFolder(simsPath, n) + DecodeCodePage(AsText(userFile), codePage) + ".iff";
}

int ChosenHood(Module1& m) {
    return HoodNumber(m.ui.Caption("Combo1"));
}

std::optional<std::string> ChosenUserFilePath(Module1& m, const Bytes& userFile) {
    return UserFilePath(m.SimsPath, ChosenHood(m), userFile, m.codePage);
}

} // namespace adultify
