#include "app/cli/cli_console.h"
#include "app/cli/cli_front_end.h"

#include <iostream>

int main(int argc, char** argv) {
    adultify::UseBinaryOutput();
    const auto env = adultify::SystemEnvironment();
    return adultify::RunCli(adultify::CommandLineArguments(argc, argv), std::cout, std::cerr, env,
                            adultify::SystemRegistry);
}
