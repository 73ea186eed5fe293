#include "install/install_search.h"

#include "files/windows_path.h"
#include "install/game_folder_check.h"
#include "install/game_location.h"
#include "install/prefix_probe.h"
#include "install/steam_libraries.h"
#include "install/wine_managers.h"

#include <set>
#include <system_error>

#ifdef _WIN32
#include "install/known_folder_windows.h"
#include "text/path_text.h"
#endif

namespace adultify {

namespace fs = std::filesystem;

namespace {

#ifdef _WIN32
std::optional<fs::path> SavedGamesFolder() {
    return KnownFolder(FOLDERID_SavedGames);
}
#endif

class Search {
  public:
    explicit Search(const SearchPlaces& places) : places_(places) {}

    // A Windows game of Steam's own runs in these prefixes: only the older release, added as
    // a non-Steam game, is looked for, by its registry key.
    void OfferNonSteamGames(const fs::path& library) {
        for (const CompatPrefix& compat : CompatPrefixes(library)) {
            if (compat.appId == kReReleaseAppId) continue;
            PrefixProbe probe(compat.prefix);
            if (auto folder = probe.RegistryFolder()) Offer(InstallSource::Steam, *folder, &probe);
        }
    }

    std::vector<FoundGame> Run() && {
#ifdef _WIN32
        if (places_.registry) {
            const std::string path = GetSimsPath(*places_.registry);
            if (path != kNotFound) Offer(InstallSource::Registry, {path, TextPath(path)}, nullptr);
        }
        OfferRemembered();
        if (const auto savedGames = SavedGamesFolder()) {
            const fs::path folder = *savedGames / "Electronic Arts" / "The Sims 25";
            Offer(InstallSource::ReRelease, {PathText(folder) + "\\", folder}, nullptr);
        }
#else
        const std::string homeText = places_.home.string();
        const auto defaultPrefix = WinePrefix([&](const char* name) -> const char* {
            if (std::string_view(name) == "HOME") return homeText.c_str();
            return places_.env ? places_.env(name) : nullptr;
        });
        std::optional<PrefixProbe> wine;
        if (defaultPrefix) {
            wine.emplace(*defaultPrefix);
            if (auto folder = wine->RegistryFolder())
                Offer(InstallSource::Registry, *folder, &*wine);
        }
        OfferRemembered();
        if (wine) OfferSaves(InstallSource::ReRelease, *wine);
        // Relative to the working folder every place below would be another one.
        if (places_.home.empty()) return std::move(found_);
        const std::vector<fs::path> libraries = SteamLibraries(places_.home);
        for (const fs::path& library : libraries) {
            PrefixProbe proton(library / "steamapps/compatdata" / kReReleaseAppId / "pfx");
            OfferSaves(InstallSource::ReRelease, proton);
        }
        for (const fs::path& library : libraries)
            OfferNonSteamGames(library);
        for (const fs::path& prefix : BottlesPrefixes(places_.home))
            OfferPrefix(InstallSource::Bottles, prefix);
        for (const fs::path& prefix : LutrisPrefixes(places_.home))
            OfferPrefix(InstallSource::Lutris, prefix);
        for (const fs::path& prefix : HeroicPrefixes(places_.home))
            OfferPrefix(InstallSource::Heroic, prefix);
        if (const fs::path dotWine = places_.home / ".wine";
            !defaultPrefix || *defaultPrefix != dotWine)
            OfferPrefix(InstallSource::WinePrefix, dotWine);
#endif
        return std::move(found_);
    }

  private:
    void OfferRemembered() {
        for (const RememberedFolder& r : places_.remembered) {
            std::optional<PrefixProbe> probe;
            if (r.prefix) probe.emplace(*r.prefix);
            Offer(InstallSource::Remembered, {r.gameFolder, NativeOf(r)},
                  probe ? &*probe : nullptr);
        }
    }

    static fs::path NativeOf(const RememberedFolder& r) {
#ifdef _WIN32
        return TextPath(r.gameFolder);
#else
        return WindowsPathMapper(r.prefix ? std::optional(*r.prefix / "dosdevices") : std::nullopt)
            .ToNative(r.gameFolder);
#endif
    }

    void OfferPrefix(InstallSource source, const fs::path& prefix) {
        PrefixProbe probe(prefix);
        if (auto folder = probe.RegistryFolder()) Offer(source, *folder, &probe);
        OfferSaves(source, probe);
    }

    void OfferSaves(InstallSource source, PrefixProbe& probe) {
        for (const PrefixFolder& folder : probe.ReReleaseFolders())
            Offer(source, folder, &probe);
    }

    void Offer(InstallSource source, const PrefixFolder& folder, PrefixProbe* probe) {
        if (folder.native.empty()) return;
        GameFolderContents contents = ReadGameFolder(folder.native);
        if (!IsGameFolder(contents)) return;
        std::error_code ec;
        const fs::path canonical = fs::canonical(folder.native, ec);
        if (ec || !seen_.insert(canonical).second) return;
        FoundGame game;
        game.source = source;
        game.gameFolder = folder.windowsPath;
        game.native = folder.native;
        if (probe) game.prefix = probe->Prefix();
        game.codePage = probe ? probe->CodePage() : SystemCodePage();
        game.hoods = std::move(contents.hoods);
        found_.push_back(std::move(game));
    }

    const SearchPlaces& places_;
    std::vector<FoundGame> found_;
    std::set<fs::path> seen_; // canonical folders already listed
};

} // namespace

std::string_view SourceName(InstallSource source) {
    switch (source) {
    case InstallSource::Registry: return "registry";
    case InstallSource::ReRelease: return "re-release";
    case InstallSource::Steam: return "steam";
    case InstallSource::Bottles: return "bottles";
    case InstallSource::Lutris: return "lutris";
    case InstallSource::Heroic: return "heroic";
    case InstallSource::WinePrefix: return "wine-prefix";
    case InstallSource::Remembered: return "remembered";
    }
    return "unknown";
}

std::vector<FoundGame> FindGames(const SearchPlaces& places) {
    return Search(places).Run();
}

} // namespace adultify
