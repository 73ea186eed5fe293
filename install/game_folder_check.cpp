#include "install/game_folder_check.h"

#include "files/record_text.h"
#include "files/windows_path.h"
#include "install/hood_folders.h"
#include "text/ascii.h"

#include <algorithm>
#include <string>
#include <system_error>

namespace adultify {

namespace fs = std::filesystem;

namespace {

bool IsRegularFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

std::error_code ListingError(const fs::path& folder) {
    std::error_code ec;
    const fs::directory_iterator listing(folder, ec);
    return ec;
}

} // namespace

GameFolderContents ReadGameFolder(const fs::path& folder, GameFolderReading reading) {
    GameFolderContents contents;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    contents.unlisted = ec;
    for (const fs::directory_iterator end; !ec && it != end; it.increment(ec)) {
        if (reading == GameFolderReading::UntilItIsOne && IsGameFolder(contents)) break;
        const std::string name = AsciiLower(PathText(it->path().filename()));
        if (name == "sims.exe") {
            contents.hasSimsExe = contents.hasSimsExe || IsRegularFile(it->path());
            continue;
        }
        const int n = HoodOfFolderName(name);
        std::error_code entryError; // apart from `ec`, which ends the listing
        if (n == 0 || !it->is_directory(entryError)) continue;
        const auto hoodFile = MatchComponent(it->path(), "Neighborhood.iff");
        if (hoodFile && IsRegularFile(*hoodFile)) {
            contents.hoods.push_back(n);
        } else if (const std::error_code listError = ListingError(it->path());
                   !hoodFile && listError) {
            contents.unreadableHoods.push_back({n, it->path(), listError.message()});
        }
    }
    std::sort(contents.hoods.begin(), contents.hoods.end());
    contents.hoods.erase(std::unique(contents.hoods.begin(), contents.hoods.end()),
                         contents.hoods.end());
    return contents;
}

bool IsGameFolder(const GameFolderContents& contents) {
    return contents.hasSimsExe || !contents.hoods.empty();
}

bool IsGameFolder(const fs::path& folder) {
    return IsGameFolder(ReadGameFolder(folder, GameFolderReading::UntilItIsOne));
}

std::string GameFolderRefusal(const fs::path& folder) {
    std::error_code ec;
    const fs::file_status status = fs::status(folder, ec);
    if (status.type() == fs::file_type::not_found) return "The folder does not exist.";
    if (ec) return "The folder cannot be reached: " + ec.message() + ".";
    if (!fs::is_directory(status)) return "This is not a folder.";
    const GameFolderContents contents = ReadGameFolder(folder, GameFolderReading::UntilItIsOne);
    if (contents.unlisted) return "The folder cannot be read: " + contents.unlisted.message() + ".";
    if (IsGameFolder(contents)) return {};
    if (!contents.unreadableHoods.empty())
        return "Its neighbourhood folder " +
               PathText(contents.unreadableHoods[0].folder.filename()) +
               " cannot be read: " + contents.unreadableHoods[0].reason + ".";
    return "It holds no Sims.exe and no neighbourhood folder (UserData, UserData2, ... with a "
           "Neighborhood.iff).";
}

} // namespace adultify
