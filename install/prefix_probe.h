#pragma once
// What one Wine prefix holds of the game: the folder its registry names, and the
// re-release's save folders under drive_c/users/<user>/Saved Games.

#include "install/wine_registry.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace adultify {

struct PrefixFolder {
    std::string windowsPath;      // as the program reads it through the prefix, ending in '\'
    std::filesystem::path native; // the same folder on this machine
};

// Whether system.reg's text holds the key [Software\\...Maxis\\The Sims], in any letter case.
// A prefix's system.reg runs to megabytes: only a file that passes this is parsed.
[[nodiscard]] bool MentionsGameKey(std::string_view systemReg);

class PrefixProbe {
  public:
    explicit PrefixProbe(std::filesystem::path prefix);

    // SIMS_DATA of Software\Maxis\The Sims (or its Wow6432Node copy), mapped through the
    // prefix's drives; nothing when the key or value is missing.
    [[nodiscard]] std::optional<PrefixFolder> RegistryFolder();

    // drive_c/users/<user>/Saved Games/Electronic Arts/The Sims 25 for every user that has
    // one (steamuser under Proton), by user name; every component in any letter case.
    [[nodiscard]] std::vector<PrefixFolder> ReReleaseFolders() const;

    // The prefix's ANSI code page (ACP), 1252 when system.reg does not say.
    [[nodiscard]] int CodePage();

    [[nodiscard]] const std::filesystem::path& Prefix() const { return prefix_; }

  private:
    const std::string& Text();
    WineRegistry& Registry();

    std::filesystem::path prefix_;
    std::optional<std::string> text_;      // system.reg, read at most once
    std::optional<WineRegistry> registry_; // parsed at most once
    std::optional<int> codePage_;
};

} // namespace adultify
