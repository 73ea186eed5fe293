#pragma once
// Whether the editor can open a window, checked before Qt starts: Qt ends the process with an
// abort when no platform plugin can connect, so a wrong DISPLAY, or Wayland without Qt's plugin,
// would never reach a message a player can act on.

#include "install/wine_prefix.h"

#include <filesystem>
#include <functional>
#include <string>

namespace adultify {

// How the machine is asked; the tests hand in their own answers.
struct DisplayProbes {
    std::function<bool(const std::string& display)> x11;              // an X server answers
    std::function<bool(const std::filesystem::path& socket)> wayland; // a compositor listens
    std::function<bool()> waylandPlugin; // Qt's Wayland platform plugin is installed
};

struct DisplayChoice {
    std::string platform; // for QT_QPA_PLATFORM; empty: leave the environment as it is
    std::string reason;   // why no window can open, in words; empty when one can
};

// The first platform that can open a window, in the order Qt itself would try them.
[[nodiscard]] DisplayChoice ChooseDisplay(const EnvironmentLookup& env,
                                          const DisplayProbes& probes);

[[nodiscard]] DisplayProbes SystemDisplayProbes();

} // namespace adultify
