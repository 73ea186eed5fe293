#include "app/cli/cli_console.h"

#include <cstdlib>

#ifdef _WIN32
#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <map>
#include <memory>
#include <windows.h>
#endif

namespace adultify {

#ifdef _WIN32

namespace {

std::string Utf8(const wchar_t* text) {
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 1) return {};
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    out.pop_back(); // the terminator
    return out;
}

UINT consoleCodePage = 0;

void RestoreConsoleCodePage() {
    if (consoleCodePage != 0) ::SetConsoleOutputCP(consoleCodePage);
}

} // namespace

std::vector<std::string> CommandLineArguments(int argc, wchar_t** argv) {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Utf8(argv[i]));
    return args;
}

EnvironmentLookup SystemEnvironment() {
    // Each value is converted once and kept: the lookup hands out pointers into it.
    auto kept = std::make_shared<std::map<std::string, std::string>>();
    return [kept](const char* name) -> const char* {
        const int n = ::MultiByteToWideChar(CP_UTF8, 0, name, -1, nullptr, 0);
        std::wstring wideName(static_cast<std::size_t>(n > 0 ? n : 1), L'\0');
        ::MultiByteToWideChar(CP_UTF8, 0, name, -1, wideName.data(), n);
        const wchar_t* value = ::_wgetenv(wideName.c_str());
        if (value == nullptr) return nullptr;
        std::string& text = (*kept)[name];
        text = Utf8(value);
        return text.c_str();
    };
}

void UseBinaryOutput() {
    std::fflush(stdout);
    std::fflush(stderr);
    (void)_setmode(_fileno(stdout), _O_BINARY);
    (void)_setmode(_fileno(stderr), _O_BINARY);
    // The console's code page outlives the program: put the old one back at exit.
    const UINT current = ::GetConsoleOutputCP();
    if (current != 0 && current != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
        consoleCodePage = current;
        std::atexit(RestoreConsoleCodePage);
    }
}

#else

std::vector<std::string> CommandLineArguments(int argc, char** argv) {
    return std::vector<std::string>(argv + 1, argv + argc);
}

EnvironmentLookup SystemEnvironment() {
    return [](const char* name) -> const char* { return std::getenv(name); };
}

void UseBinaryOutput() {}

#endif

} // namespace adultify
