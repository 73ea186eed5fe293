#include "game/neighbourhood_name.h"

#include "core/utilities.h"
#include "iff/character_file.h"
#include "install/code_page.h"
#include "text/ascii.h"

namespace adultify {

std::string HoodEntryText(int n) {
    return std::string(kHoodEntryPrefix) + WithSignPosition(n);
}

int HoodNumber(std::string_view entryText) {
    if (entryText.size() <= kHoodEntryPrefix.size()) return 0;
    return static_cast<int>(LeadingNumber(entryText.substr(kHoodEntryPrefix.size())));
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
    return UserFilePath(m.game.SimsPath, ChosenHood(m), userFile, m.game.codePage);
}

} // namespace adultify
