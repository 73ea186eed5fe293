#include "ui/folder_listing.h"
#include "text/ascii.h"
#include "text/path_text.h"

#include <algorithm>
#include <system_error>
#include <utility>

namespace adultify {

namespace fs = std::filesystem;

namespace {

// Names in the order a user looks for them: letter case ignored, then as written.
bool NameBefore(const std::string& a, const std::string& b) {
    const auto folded = [](char x, char y) { return AsciiLower(x) < AsciiLower(y); };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), folded)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), folded)) return false;
    return a < b;
}

fs::path Absolute(std::string_view folder) {
    fs::path p = TextPath(folder);
    std::error_code ec;
    if (fs::path absolute = fs::absolute(p, ec); !ec) p = std::move(absolute);
    p = p.lexically_normal();
    if (!p.has_filename() && p.has_relative_path()) p = p.parent_path(); // "a/b/": "a/b"
    return p;
}

bool Matches(std::string_view name, std::string_view pattern) {
    std::size_t n = 0, p = 0, starAt = std::string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() &&
            (pattern[p] == '?' || AsciiLower(pattern[p]) == AsciiLower(name[n]))) {
            ++n;
            ++p;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

std::size_t PartCount(const fs::path& p) {
    return static_cast<std::size_t>(std::distance(p.begin(), p.end()));
}

} // namespace

std::vector<FolderEntry> ListFolders(std::string_view folder) {
    const fs::path open = Absolute(folder);
    std::vector<FolderEntry> entries;
    fs::path at = open.root_path();
    int depth = 0;
    if (!at.empty()) entries.push_back({PathText(at), PathText(at), depth++, true});
    for (const fs::path& part : open.relative_path()) {
        if (part.empty()) continue;
        at /= part;
        entries.push_back({PathText(at), PathText(part), depth++, true});
    }
    std::vector<FolderEntry> subfolders;
    for (const FolderChild& child : ReadFolder(open))
        if (child.folder) // a link to a folder counts as one
            subfolders.push_back({PathText(open / child.name), PathText(child.name), depth, false});
    std::sort(subfolders.begin(), subfolders.end(), [](const FolderEntry& a, const FolderEntry& b) {
        return NameBefore(a.name, b.name);
    });
    entries.insert(entries.end(), subfolders.begin(), subfolders.end());
    return entries;
}

int OpenFolderLine(std::span<const FolderEntry> entries) {
    return static_cast<int>(std::count_if(entries.begin(), entries.end(),
                                          [](const auto& e) { return e.open; })) -
           1;
}

std::vector<DriveEntry> ListDrives(const std::optional<fs::path>& dosdevices) {
    std::vector<DriveEntry> drives = MachineDrives();
    if (!dosdevices) return drives;
    std::vector<DriveEntry> letters;
    std::error_code ec;
    for (fs::directory_iterator it(*dosdevices, ec), end; !ec && it != end; it.increment(ec)) {
        const std::string letter = PathText(it->path().filename());
        std::error_code broken;
        if (letter.size() != 2 || letter[1] != ':' || !it->is_directory(broken)) continue;
        const fs::path target = fs::weakly_canonical(it->path(), broken);
        if (broken) continue;
        letters.push_back({PathText(target), letter + "  " + PathText(target)});
    }
    std::sort(letters.begin(), letters.end(),
              [](const DriveEntry& a, const DriveEntry& b) { return NameBefore(a.name, b.name); });
    drives.insert(drives.end(), letters.begin(), letters.end());
    return drives;
}

int DriveHolding(std::span<const DriveEntry> drives, std::string_view folder) {
    fs::path where = Absolute(folder);
    std::error_code ec;
    if (fs::path real = fs::weakly_canonical(where, ec); !ec) where = std::move(real);
    int best = -1;
    std::size_t bestParts = 0;
    for (std::size_t i = 0; i < drives.size(); ++i) {
        const fs::path root = TextPath(drives[i].root);
        const fs::path inside = where.lexically_relative(root);
        if (inside.empty() || *inside.begin() == "..") continue;
        if (const std::size_t parts = PartCount(root); best < 0 || parts > bestParts) {
            best = static_cast<int>(i);
            bestParts = parts;
        }
    }
    return best;
}

std::vector<std::string> ListFiles(std::string_view folder, std::string_view pattern) {
    std::vector<std::string> names;
    for (const FolderChild& child : ReadFolder(Absolute(folder)))
        if (std::string name = PathText(child.name); child.file && Matches(name, pattern))
            names.push_back(std::move(name));
    std::sort(names.begin(), names.end(), NameBefore);
    return names;
}

} // namespace adultify
