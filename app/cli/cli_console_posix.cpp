#include "app/cli/cli_console.h"

#include <cstdlib>

namespace adultify {

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

EnvironmentLookup SystemEnvironment() {
    return [](const char* name) -> const char* { return std::getenv(name); };
}

void UseBinaryOutput() {}

} // namespace adultify
