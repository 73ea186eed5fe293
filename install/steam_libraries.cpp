#include "install/steam_libraries.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <set>
#include <system_error>

namespace adultify {

namespace fs = std::filesystem;

namespace {

bool IsDirectory(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(p, ec);
}

bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
}

std::string ReadSmallFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

std::vector<fs::path> SteamRoots(const fs::path& home) {
    std::vector<fs::path> roots;
    for (const fs::path& p : {home / ".steam" / "steam", home / ".local/share/Steam",
                              home / ".var/app/com.valvesoftware.Steam/.local/share/Steam",
                              home / "snap/steam/common/.local/share/Steam"})
        if (IsDirectory(p)) roots.push_back(p);
    return roots;
}

std::vector<std::string> LibraryPaths(const VdfNode& root) {
    std::vector<std::string> paths;
    const VdfNode* folders = root.Child("libraryfolders");
    if (!folders || !folders->block) return paths;
    for (const VdfNode& entry : folders->children) {
        if (!AllDigits(entry.key)) continue; // "contentstatsid" and the like
        if (!entry.block) {
            paths.push_back(entry.value);
        } else if (const VdfNode* path = entry.Child("path"); path && !path->block) {
            paths.push_back(path->value);
        }
    }
    return paths;
}

std::vector<fs::path> SteamLibraries(const fs::path& home) {
    std::vector<fs::path> libraries;
    std::set<fs::path> seen;      // canonical libraries
    std::set<fs::path> seenRoots; // ~/.steam/steam and ~/.local/share/Steam are one root
    auto canonical = [](const fs::path& p) {
        std::error_code ec;
        fs::path c = fs::canonical(p, ec);
        return ec || !IsDirectory(c) ? fs::path() : c;
    };
    auto add = [&](const fs::path& p) {
        const fs::path c = canonical(p);
        if (!c.empty() && seen.insert(c).second) libraries.push_back(p);
    };
    for (const fs::path& root : SteamRoots(home)) {
        if (!seenRoots.insert(canonical(root)).second) continue;
        add(root);
        // What parsed before an error is kept: a truncated file still names its first libraries.
        const VdfResult vdf = ParseVdf(ReadSmallFile(root / "steamapps" / "libraryfolders.vdf"));
        for (const std::string& path : LibraryPaths(vdf.root)) {
            const fs::path library(path);
            if (library.is_absolute()) add(library);
        }
    }
    return libraries;
}

std::vector<CompatPrefix> CompatPrefixes(const fs::path& library) {
    std::vector<CompatPrefix> prefixes;
    std::error_code ec;
    for (fs::directory_iterator it(library / "steamapps" / "compatdata", ec), end; !ec && it != end;
         it.increment(ec)) {
        std::string appId = it->path().filename().string();
        fs::path pfx = it->path() / "pfx";
        if (AllDigits(appId) && IsDirectory(pfx))
            prefixes.push_back({std::move(appId), std::move(pfx)});
    }
    std::sort(prefixes.begin(), prefixes.end(), [](const CompatPrefix& a, const CompatPrefix& b) {
        return a.appId.size() != b.appId.size() ? a.appId.size() < b.appId.size()
                                                : a.appId < b.appId;
    });
    return prefixes;
}

} // namespace adultify
