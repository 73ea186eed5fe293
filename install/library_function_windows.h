#pragma once
// A function of a system library, the library loaded on first use: a command that never needs
// it starts without it (under Wine, loading advapi32 or shell32 is a good part of a start).

#include <windows.h>

namespace adultify {

// Null when the library or the function is missing. Through void (*)(), the one function type
// any other may be cast from without a warning.
template <typename Function> Function LibraryFunction(const wchar_t* library, const char* name) {
    const HMODULE module = ::LoadLibraryW(library);
    if (module == nullptr) return nullptr;
    const FARPROC found = ::GetProcAddress(module, name);
    // The library stays loaded: the function found is kept for the program's life.
    // cppcheck-suppress resourceLeak
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

} // namespace adultify
