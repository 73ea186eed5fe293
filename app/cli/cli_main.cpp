#include "app/cli/cli_front_end.h"

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return adultify::RunCli(args, std::cout, std::cerr,
                            [](const char* name) { return std::getenv(name); });
}
