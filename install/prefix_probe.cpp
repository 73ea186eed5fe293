#include "install/prefix_probe.h"

#include "files/windows_path.h"
#include "install/code_page.h"
#include "install/game_location.h"
#include "install/reg_excerpt.h"
#include "text/ascii.h"

#include <algorithm>
#include <cctype>
#include <system_error>

namespace adultify {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view kGameKey = "Software\\Maxis\\The Sims";

// "C:\" + the folder's components under drive_c, as Wine shows it to the game.
std::string DriveCPath(const fs::path& relative) {
    std::string out = "C:\\";
    for (const fs::path& part : relative)
        out += part.string() + "\\";
    return out;
}

} // namespace

bool MentionsGameKey(std::string_view systemReg) {
    // Backslashes are doubled in the file; the closing bracket excludes longer key names.
    return ContainsIgnoringCase(systemReg, "maxis\\\\the sims]");
}

PrefixProbe::PrefixProbe(fs::path prefix) : prefix_(std::move(prefix)) {}

const std::string& PrefixProbe::Text() {
    if (!text_) text_ = ReadSystemReg(prefix_);
    return *text_;
}

WineRegistry& PrefixProbe::Registry() {
    if (!registry_)
        registry_ = WineRegistry::FromText(RegistryExcerpt(
            Text(), {kGameKey, "Software\\Wow6432Node\\Maxis\\The Sims", kCodePageKey}));
    return *registry_;
}

std::optional<PrefixFolder> PrefixProbe::RegistryFolder() {
    if (!MentionsGameKey(Text())) return std::nullopt;
    const std::string path = GetSimsPath(Registry());
    if (path == kNotFound) return std::nullopt;
    std::error_code ec;
    const fs::path dosdevices = prefix_ / "dosdevices";
    fs::path native;
    if (fs::is_directory(dosdevices, ec)) {
        native = WindowsPathMapper(dosdevices).ToNative(path);
    } else if (path.size() >= 2 && AsciiLower(path[0]) == 'c' && path[1] == ':') {
        // A prefix Wine has not started yet has drive_c but no drive links.
        native = WindowsPathMapper().ToNative((prefix_ / "drive_c").string() + path.substr(2));
    }
    if (native.empty()) return std::nullopt;
    return PrefixFolder{path, native};
}

std::vector<PrefixFolder> PrefixProbe::ReReleaseFolders() const {
    std::vector<PrefixFolder> folders;
    const fs::path driveC = prefix_ / "drive_c";
    const auto users = MatchComponent(driveC, "users");
    if (!users) return folders;
    std::vector<fs::path> homes;
    std::error_code ec;
    for (fs::directory_iterator it(*users, ec), end; !ec && it != end; it.increment(ec))
        if (it->path().filename() != "Public") homes.push_back(it->path()); // shared, no saves
    std::sort(homes.begin(), homes.end());
    for (const fs::path& userHome : homes) {
        std::optional<fs::path> at = userHome;
        for (const char* part : {"Saved Games", "Electronic Arts", "The Sims 25"})
            if (at) at = MatchComponent(*at, part);
        if (at && fs::is_directory(*at, ec))
            folders.push_back({DriveCPath(at->lexically_relative(driveC)), *at});
    }
    return folders;
}

int PrefixProbe::CodePage() {
    if (!codePage_) codePage_ = AnsiCodePage(Registry());
    return *codePage_;
}

} // namespace adultify
