#include "game/game_text.h"

#include "install/code_page.h"

namespace adultify {

std::string DecodeName(const GameState& game, std::string_view bytes) {
    return DecodeCodePage(bytes, game.codePage);
}

std::string DecodeName(const GameState& game, const Bytes& bytes) {
    return DecodeName(game, AsText(bytes));
}

} // namespace adultify
