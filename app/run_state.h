#pragma once
// One run of a front end: the program's state and the games the install search found (none
// when the game folder was given). Events and start-up take it, so that a handler that uses a
// found game reaches it directly. Whoever runs the program holds both for the whole run.

#include "app/found_games.h"
#include "core/module1.h"

namespace adultify {

struct RunState {
    explicit RunState(Module1& state, GameShelf& found) : m(state), games(found) {}

    Module1& m;
    GameShelf& games;
};

} // namespace adultify
