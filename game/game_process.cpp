#include "game/game_process.h"

#include "text/ascii.h"

namespace adultify {

std::string_view FileNamePart(std::string_view path) {
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

bool NamesTheGame(std::string_view path) {
    return EqualIgnoringCase(FileNamePart(path), "sims.exe");
}

} // namespace adultify
