#pragma once
// The registry a test hands the front end: the Wine prefix's the environment names, read from
// its files on every system, so that no test sees the host's own registry.

#include "install/wine_prefix.h"
#include "install/wine_registry.h"

#include <memory>

namespace adultify::test {

inline std::unique_ptr<Registry> PrefixRegistry(const EnvironmentLookup& env) {
    const auto prefix = WinePrefix(env);
    return std::make_unique<WineRegistry>(prefix ? WineRegistry::FromPrefix(*prefix)
                                                 : WineRegistry());
}

} // namespace adultify::test
