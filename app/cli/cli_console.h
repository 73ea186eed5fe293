#pragma once
// The process's own command line and output streams, as the front end needs them on each
// system: arguments in UTF-8, output bytes written unchanged.

#include "install/wine_prefix.h"

#include <string>
#include <vector>

namespace adultify {

// The arguments after the program's name, in UTF-8. On Windows they are the wide ones of
// wmain: the 8-bit code page cannot spell every folder name.
#ifdef _WIN32
[[nodiscard]] std::vector<std::string> CommandLineArguments(int argc, wchar_t** argv);
#else
[[nodiscard]] std::vector<std::string> CommandLineArguments(int argc, char** argv);
#endif

// The process's environment, values in UTF-8 (on Windows read wide, for the same reason).
[[nodiscard]] EnvironmentLookup SystemEnvironment();

// Standard output and error in binary mode, so that Windows writes "\n" as it is, not as CR
// LF; a console shows them as UTF-8 until the program ends.
void UseBinaryOutput();

} // namespace adultify
