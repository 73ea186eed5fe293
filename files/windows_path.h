#pragma once
// Maps the program's Windows-style paths onto a POSIX file system, as Wine does:
// drive letters through the prefix's dosdevices links, either slash as separator,
// and each component matched without regard to letter case when the exact name is absent.

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>

namespace adultify {

class WindowsPathMapper {
  public:
    // `dosdevices` is the prefix's dosdevices folder; without it drive letters resolve nowhere.
    explicit WindowsPathMapper(std::optional<std::filesystem::path> dosdevices = std::nullopt);

    // A path without a drive letter that starts with a separator is taken from the root;
    // one that does not is relative to the working folder. Empty when a drive is unknown.
    // `found`, when given, is set when the answer is an entry seen on the disk just now.
    [[nodiscard]] std::filesystem::path ToNative(std::string_view path,
                                                 bool* found = nullptr) const;

    [[nodiscard]] const std::optional<std::filesystem::path>& DosDevices() const {
        return dosdevices_;
    }

    // The path with its last name as its folder's listing spells it, letter case aside; the
    // path as it is when the folder holds no such name or cannot be listed. A file system that
    // ignores letter case finds a name spelt as listed at once, where another spelling may
    // have it search the whole folder (Wine does, once per lookup).
    [[nodiscard]] std::filesystem::path ListedSpelling(const std::filesystem::path& path) const;

    // The program changed this folder's entries: its remembered listing is stale.
    void Forget(const std::filesystem::path& folder) const { listings_.erase(folder); }
    // While held, a listing checked against its folder's time once is trusted until released.
    void HoldListings(bool held) {
        held_ = held;
        ++hold_;
    }

  private:
    // A folder's names by their lower-case spelling, kept while the folder is unchanged, so
    // that a neighbourhood of 999 character files is not listed once per file.
    struct Listing {
        std::filesystem::file_time_type stamp;
        bool settled = false; // the folder's time was older than a clock tick when listed
        std::unordered_map<std::string, std::string> byFolded; // first name in sorted order
        std::unordered_set<std::string> names;                 // as spelt
        unsigned checkedInHold = 0; // the hold in which it was last found current
    };
    // The path's entry by a listing of its folder taken or checked just now: one look at the
    // folder instead of one per component; nothing when the folder was not listed before.
    [[nodiscard]] std::optional<std::filesystem::path>
    FromListing(const std::filesystem::path& folder, const std::string& name) const;
    // The same for a path whose folder part, before `cut` (its last separator), is the one
    // named last; nothing for any other path.
    [[nodiscard]] std::optional<std::filesystem::path> FromLastFolder(std::string_view path,
                                                                      std::size_t cut) const;
    [[nodiscard]] std::optional<std::filesystem::path> Match(const std::filesystem::path& folder,
                                                             std::string_view component) const;
    // The folder's listing, read again when the folder has changed; none when it cannot be.
    [[nodiscard]] const Listing* ListingOf(const std::filesystem::path& folder) const;

    std::optional<std::filesystem::path> dosdevices_;
    bool held_ = false;
    unsigned hold_ =
        0; // counts holds, so that a listing checked in an earlier one is checked again
    mutable std::map<std::filesystem::path, Listing> listings_;
    // The folder part of the last path resolved, as given and as spelt (not matched).
    mutable std::string lastFolderText_;
    mutable std::filesystem::path lastFolder_;
};

// The entry of `folder` that names `component`: the exact name if present, else the first
// case-insensitive match in sorted order, else nothing. Reads the folder afresh.
[[nodiscard]] std::optional<std::filesystem::path>
MatchComponent(const std::filesystem::path& folder, std::string_view component);

} // namespace adultify
