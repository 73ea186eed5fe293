#pragma once
// A made-up environment: the variables a test sets, read as the program reads its own.

#include "install/wine_prefix.h"

#include <map>
#include <string>

namespace adultify::test {

using Environment = std::map<std::string, std::string>;

// Looks names up in `env` as it is at each call: later changes to the map are seen.
inline EnvironmentLookup LookupIn(const Environment& env) {
    return [&env](const char* name) -> const char* {
        const auto it = env.find(name);
        return it == env.end() ? nullptr : it->second.c_str();
    };
}

} // namespace adultify::test
