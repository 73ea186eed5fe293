#include "app/cli/cli_console.h"
#include "text/wide_text.h"

#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <map>
#include <memory>
#include <windows.h>

namespace adultify {

namespace {

UINT consoleCodePage = 0;

void RestoreConsoleCodePage() {
    if (consoleCodePage != 0) ::SetConsoleOutputCP(consoleCodePage);
}

} // namespace

std::vector<std::string> CommandLineArguments(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Narrow(argv[i]));
    return args;
}

EnvironmentLookup SystemEnvironment() {
    // Each value is converted once and kept: the lookup hands out pointers into it.
    auto kept = std::make_shared<std::map<std::string, std::string>>();
    return [kept](const char* name) -> const char* {
        const wchar_t* value = ::_wgetenv(Widen(name).c_str());
        if (value == nullptr) return nullptr;
        std::string& text = (*kept)[name];
        text = Narrow(value);
        return text.c_str();
    };
}

void UseBinaryOutput() {
    std::fflush(stdout);
    std::fflush(stderr);
    (void)_setmode(_fileno(stdout), _O_BINARY);
    (void)_setmode(_fileno(stderr), _O_BINARY);
    // The C runtime takes a character device (a console, NUL) for a terminal and leaves it
    // unbuffered, so that each character became a system call of its own. Errors still come
    // in order: writing to std::cerr flushes std::cout first.
    DWORD mode = 0;
    if (!::GetConsoleMode(::GetStdHandle(STD_OUTPUT_HANDLE), &mode))
        (void)std::setvbuf(stdout, nullptr, _IOFBF, 1u << 16);
    // The console's code page outlives the program: put the old one back at exit.
    const UINT current = ::GetConsoleOutputCP();
    if (current != 0 && current != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
        consoleCodePage = current;
        std::atexit(RestoreConsoleCodePage);
    }
}

} // namespace adultify
