#pragma once
// adultify-cli run in-process, with a made-up environment and the registry of the Wine prefix
// it names (never the host's).

#include "app/cli/cli_front_end.h"
#include "tests/support/environment.h"
#include "tests/support/prefix_registry.h"

#include <sstream>

namespace adultify::test {

struct Result {
    int code;
    std::string out, err;
};

inline Result RunCliIn(const std::vector<std::string>& args, const Environment& env) {
    std::ostringstream out, err;
    const int code = RunCli(args, out, err, LookupIn(env), PrefixRegistry);
    return {code, out.str(), err.str()};
}

} // namespace adultify::test
