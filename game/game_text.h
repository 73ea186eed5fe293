#pragma once
// Text from the game's files as the program shows it: the bytes decoded from the game's code
// page (GameState::codePage) into UTF-8. The bytes in the files are never changed.

#include "core/module1.h"

#include <string>
#include <string_view>

namespace adultify {

[[nodiscard]] std::string DecodeName(const GameState& game, std::string_view bytes);
[[nodiscard]] std::string DecodeName(const GameState& game, const Bytes& bytes);

} // namespace adultify
