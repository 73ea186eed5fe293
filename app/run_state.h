#pragma once
// One run of a front end: the program's state and the games the install search found. Events
// and start-up take it, so that a handler that uses a found game reaches it directly.

#include "app/found_games.h"
#include "core/module1.h"

namespace adultify {

struct RunState {
    // A run on one given folder: no games were looked for. Implicit, so that a handler that
    // never uses a found game takes the program's state as it is.
    RunState(Module1& state) : m(state) {} // NOLINT(google-explicit-constructor)
    RunState(Module1& state, GameShelf& found) : m(state), games(&found) {}

    Module1& m;
    GameShelf* games = nullptr; // none: no install search in this run
};

} // namespace adultify
