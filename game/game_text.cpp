#include "game/game_text.h"

#include "install/code_page.h"

namespace adultify {

std::string DecodeName(const Module1& m, std::string_view bytes) {
    return DecodeCodePage(bytes, m.game.codePage);
}

std::string DecodeName(const Module1& m, const Bytes& bytes) {
    return DecodeName(m, AsText(bytes));
}

} // namespace adultify
