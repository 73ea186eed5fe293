#include "app/found_games.h"

#include "game/game_writes.h"
#include "game/remembered_folder.h"
#include "install/code_page.h"
#include "install/wine_prefix.h"
#include "text/path_text.h"

#include <string>
#include <system_error>
#include <vector>

namespace adultify {

namespace fs = std::filesystem;

namespace {

bool SameFolder(const fs::path& a, const fs::path& b) {
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

// A menu caption shows '&' only doubled.
std::string MenuText(std::string_view text) {
    std::string out;
    for (char c : text)
        out += c == '&' ? std::string("&&") : std::string(1, c);
    return out;
}

// The code points of a UTF-8 text, as where each starts.
std::vector<std::size_t> CodePointStarts(std::string_view text) {
    std::vector<std::size_t> starts;
    for (std::size_t i = 0; i < text.size(); ++i)
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) starts.push_back(i);
    return starts;
}

void CheckCurrentGame(Module1& m, const GameShelf& shelf) {
    for (std::size_t i = 0; i < kGameEntries.size(); ++i)
        m.ui.SetChecked(kGameEntries[i], shelf.current == i);
}

void ShowGamesMenu(Module1& m, const GameShelf& shelf) {
    for (std::size_t i = 0; i < kGameEntries.size(); ++i) {
        std::string caption;
        if (i < shelf.games.size()) {
            const FoundGame& g = shelf.games[i];
            // Where it lies on this machine, past the drive links: two prefixes may hold the
            // same Windows path.
            std::error_code ec;
            fs::path shown = fs::weakly_canonical(g.native, ec);
            if (ec) shown = g.native;
            // Built piece by piece in a new string: GCC 12 at -O3 takes a literal put before
            // or into an existing string for an overlapping copy (-Werror=restrict).
            std::string text(1, '&');
            text += std::to_string(i + 1);
            text += ' ';
            text += SourceName(g.source);
            text += ": ";
            text += MenuText(ShortenedPath(PathText(shown)));
            caption = std::move(text);
            m.ui.SetMenuTip(kGameEntries[i], PathText(shown));
        }
        m.ui.SetCaption(kGameEntries[i], caption);
    }
    m.ui.SetEnabled("menu_games", !shelf.games.empty());
    CheckCurrentGame(m, shelf);
}

} // namespace

std::string ShortenedPath(std::string_view path) {
    const std::vector<std::size_t> starts = CodePointStarts(path);
    if (starts.size() <= kShownPathLength) return std::string(path);
    // The start names the place (the drive, the home folder), the end the game's own folders.
    const std::size_t head = kShownPathLength / 3;
    const std::size_t tail = kShownPathLength - head - 1;
    std::string shown(path.substr(0, starts[head]));
    shown += "\u2026";
    shown += path.substr(starts[starts.size() - tail]);
    return shown;
}

GameShelf SearchGames(Platform& platform) {
    const EnvironmentLookup& env = platform.env;
    SearchPlaces places;
    if (env) {
        if (const char* home = env("HOME"); home && *home) places.home = TextPath(home);
        if (const auto file = RememberedFolderFile(env))
            places.remembered = ReadRememberedFolders(*file);
    }
    places.env = env;
    places.registry = platform.registry.get();
    GameShelf shelf;
    shelf.games = FindGames(places);
    return shelf;
}

void ShowFoundGames(Module1& m, const GameShelf& shelf) {
    ShowGamesMenu(m, shelf);
}

bool UseFoundGame(Module1& m, GameShelf& shelf, Platform* platform, std::size_t index) {
    if (index >= shelf.games.size()) return false;
    const FoundGame& game = shelf.games[index];
    ReleaseGame(m);
    if (game.prefix && platform) {
        UsePrefix(*platform, *game.prefix);
        m.ui.SetDosDevices(platform->dosdevices);
    }
    m.game.SimsPath = game.gameFolder;
    // A prefix Wine never started has no drive letters yet: its folder is named as it lies.
    if (!SameFolder(TextPath(m.fs.NativePath(m.game.SimsPath)), game.native))
        m.game.SimsPath = PathText(game.native) + "\\";
    m.game.codePage = shelf.codePage.value_or(game.codePage);
    shelf.current = index;
    CheckCurrentGame(m, shelf);
    return true;
}

void UseChosenFolder(Module1& m, GameShelf& shelf) {
    const fs::path native = TextPath(m.fs.NativePath(m.game.SimsPath));
    shelf.current.reset();
    for (std::size_t i = 0; i < shelf.games.size() && !shelf.current; ++i)
        if (SameFolder(shelf.games[i].native, native)) shelf.current = i;
    std::optional<fs::path> prefix;
    int codePage = SystemCodePage();
    if (shelf.current) {
        prefix = shelf.games[*shelf.current].prefix;
        codePage = shelf.games[*shelf.current].codePage;
    } else if ((prefix = EnclosingPrefix(native))) {
        codePage = PrefixCodePage(*prefix);
    }
    m.game.codePage = shelf.codePage.value_or(codePage);
    CheckCurrentGame(m, shelf);
    if (shelf.rememberIn) (void)WriteRememberedFolder(*shelf.rememberIn, {m.game.SimsPath, prefix});
}

} // namespace adultify
