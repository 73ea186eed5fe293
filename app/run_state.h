#pragma once
// One run of a front end: the program's state, the games the install search found (none when
// the game folder was given) and the machine it runs on. Events and start-up take it, so that a
// handler that uses a found game reaches it directly. Whoever runs the program holds all three
// for the whole run.

#include "app/found_games.h"
#include "app/platform.h"
#include "core/module1.h"

namespace adultify {

struct RunState {
    // machine: none where no game is reached through a Wine prefix (tests that give the folder).
    explicit RunState(Module1& state, GameShelf& found, Platform* machine)
        : m(state), games(found), platform(machine) {}

    Module1& m;
    GameShelf& games;
    Platform* platform;
};

} // namespace adultify
