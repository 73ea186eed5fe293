#include "app/cli/cli_console.h"
#include "app/cli/cli_front_end.h"

#include <iostream>

// Wide arguments from the C runtime: no shell32 to split the command line.
int wmain(int argc, wchar_t** argv) {
    adultify::UseBinaryOutput();
    const auto env = adultify::SystemEnvironment();
    return adultify::RunCli(adultify::CommandLineArguments(argc, argv), std::cout, std::cerr, env,
                            adultify::SystemRegistry);
}
