#include "files/windows_path.h"

#include "files/record_text.h"
#include "files/safe_file.h"
#include "text/ascii.h"

#include <algorithm>
#include <chrono>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

namespace adultify {

namespace fs = std::filesystem;

namespace {

bool Exists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

// The non-empty components between separators.
std::vector<std::string> Components(std::string_view rest) {
    std::vector<std::string> parts;
    for (std::size_t i = 0; i < rest.size();) {
        while (i < rest.size() && IsSeparator(rest[i]))
            ++i;
        std::size_t j = i;
        while (j < rest.size() && !IsSeparator(rest[j]))
            ++j;
        if (j > i) parts.emplace_back(rest.substr(i, j - i));
        i = j;
    }
    return parts;
}

// The names joined as text first: a path parses itself anew on each name appended.
fs::path JoinFirst(const fs::path& base, const std::vector<std::string>& parts, std::size_t n) {
    fs::path p = base;
    if (n == 0) return p;
    std::string names = parts[0];
    for (std::size_t k = 1; k < n; ++k)
        (names += '/') += parts[k];
    p /= fs::path(names).make_preferred();
    return p;
}

} // namespace

std::optional<fs::path> MatchComponent(const fs::path& folder, std::string_view component) {
    const fs::path exact = folder / fs::path(std::string(component));
    if (Exists(exact)) return exact;
    const std::string wanted = AsciiLower(component);
    std::optional<std::string> best;
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end;
         !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (AsciiLower(name) == wanted && (!best || name < *best)) best = name;
    }
    if (!best) return std::nullopt;
    return folder / *best;
}

const WindowsPathMapper::Listing* WindowsPathMapper::ListingOf(const fs::path& folder) const {
    auto it = listings_.find(folder);
    if (held_ && it != listings_.end() && it->second.checkedInHold == hold_) return &it->second;
    const fs::path where = folder.empty() ? fs::path(".") : folder;
    std::error_code ec;
    const auto stamp = fs::last_write_time(where, ec);
    if (ec) return nullptr;
    if (it == listings_.end() || it->second.stamp != stamp || !it->second.settled) {
        // A folder changed in the last few moments may change again within its clock's tick,
        // unseen by its time: its listing is taken again at the next look.
        constexpr auto kTick = std::chrono::milliseconds(50);
        Listing listing{stamp, fs::file_time_type::clock::now() - stamp > kTick, {}, {}};
        for (std::string& name : FolderNames(where, ec)) {
            auto [slot, fresh] = listing.byFolded.emplace(AsciiLower(name), name);
            if (!fresh && name < slot->second) slot->second = name;
            listing.names.insert(std::move(name));
        }
        it = listings_.insert_or_assign(folder, std::move(listing)).first;
    }
    it->second.checkedInHold = hold_;
    return &it->second;
}

std::optional<fs::path> WindowsPathMapper::Match(const fs::path& folder,
                                                 std::string_view component) const {
    const fs::path exact = folder / fs::path(std::string(component));
    if (Exists(exact)) return exact;
    const Listing* listing = ListingOf(folder);
    if (!listing) return std::nullopt;
    const auto hit = listing->byFolded.find(AsciiLower(component));
    if (hit == listing->byFolded.end()) return std::nullopt;
    return folder / TextPath(hit->second);
}

std::optional<fs::path> WindowsPathMapper::FromListing(const fs::path& folder,
                                                       const std::string& name) const {
    if (name == "." || name == ".." || listings_.find(folder) == listings_.end())
        return std::nullopt;
    const Listing* listing = ListingOf(folder);
    if (!listing) return std::nullopt;
    if (listing->names.count(name) > 0) return folder / name;
    const auto hit = listing->byFolded.find(AsciiLower(name));
    return folder / (hit == listing->byFolded.end() ? name : hit->second);
}

fs::path WindowsPathMapper::ListedSpelling(const fs::path& path) const {
    if (!path.has_filename()) return path;
    const Listing* listing = ListingOf(path.parent_path());
    if (!listing || listing->names.count(PathText(path.filename())) > 0) return path;
    const auto hit = listing->byFolded.find(AsciiLower(PathText(path.filename())));
    if (hit == listing->byFolded.end()) return path;
    return path.parent_path() / TextPath(hit->second);
}

WindowsPathMapper::WindowsPathMapper(std::optional<fs::path> dosdevices)
    : dosdevices_(std::move(dosdevices)) {}

std::optional<fs::path> WindowsPathMapper::FromLastFolder(std::string_view path,
                                                          std::size_t cut) const {
    if (cut == std::string_view::npos || cut + 1 >= path.size() || lastFolderText_.empty() ||
        path.substr(0, cut) != lastFolderText_)
        return std::nullopt;
    return FromListing(lastFolder_, std::string(path.substr(cut + 1)));
}

fs::path WindowsPathMapper::ToNative(std::string_view path, bool* found) const {
    // A file of the folder named last, a character file say: the folder's names are not taken
    // apart and joined again.
    const std::size_t cut = path.find_last_of("\\/");
    const bool named = cut != std::string_view::npos && cut + 1 < path.size();
    if (auto hit = FromLastFolder(path, cut)) return std::move(*hit);
    fs::path base;
    std::string_view rest = path;
    if (path.size() >= 2 && path[1] == ':' && std::isalpha(static_cast<unsigned char>(path[0]))) {
        if (!dosdevices_) return {};
        const std::string drive = {AsciiLower(path[0]), ':'};
        base = *dosdevices_ / drive;
        std::error_code ec;
        if (!fs::is_directory(base, ec)) return {};
        rest = path.substr(2);
    } else if (!path.empty() && IsSeparator(path.front())) {
        base = "/";
    }
    const std::vector<std::string> parts = Components(rest);
    if (parts.empty()) return base;
    fs::path whole = JoinFirst(base, parts, parts.size());
    if (named) {
        lastFolderText_ = path.substr(0, cut);
        lastFolder_ = whole.parent_path();
    }
    // A file of a folder listed before, a character file say, costs one look at the folder.
    if (auto hit = FromListing(whole.parent_path(), parts.back())) return std::move(*hit);
    // Where the exact spelling exists, it is what the walk below would find.
    if (Exists(whole)) {
        if (found) *found = true;
        return whole;
    }
    std::size_t known = parts.size() - 1;
    while (known > 0 && !Exists(JoinFirst(base, parts, known)))
        --known;
    fs::path current = JoinFirst(base, parts, known);
    bool resolving = true; // once a component is missing, the rest is appended as spelt
    for (std::size_t k = known; k < parts.size(); ++k) {
        const std::string& component = parts[k];
        if (component == "." || component == ".." || !resolving) {
            current /= component;
        } else if (auto hit = Match(current, component)) {
            current = *hit;
        } else {
            current /= component;
            resolving = false;
        }
    }
    return current;
}

} // namespace adultify
