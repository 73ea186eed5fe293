#include "install/windows_registry.h"
#include "install/library_function_windows.h"
#include "text/wide_text.h"

#include <cstring>
#include <string>
#include <vector>
#include <windows.h>

namespace adultify {

namespace {

bool IsStringType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// A key handle travels through the registry interface as an integer.
HKEY Handle(RegKey key) {
    return reinterpret_cast<HKEY>(key); // NOLINT(performance-no-int-to-ptr)
}

// advapi32 is loaded when the registry is first read.
decltype(&RegOpenKeyA) OpenFunction() {
    static const auto open =
        LibraryFunction<decltype(&RegOpenKeyA)>(L"advapi32.dll", "RegOpenKeyA");
    return open;
}
decltype(&RegQueryValueExW) QueryFunction() {
    static const auto query =
        LibraryFunction<decltype(&RegQueryValueExW)>(L"advapi32.dll", "RegQueryValueExW");
    return query;
}

} // namespace

long WindowsRegistry::OpenKey(RegRoot, std::string_view subKey, RegKey& key) {
    HKEY handle = nullptr;
    key = 0;
    const auto open = OpenFunction();
    if (!open) return ERROR_PROC_NOT_FOUND;
    const std::string name(subKey);
    long result = open(HKEY_LOCAL_MACHINE, name.c_str(), &handle);
    // A 64-bit build does not see the 32-bit installer's key unless it asks for its copy.
    if (result != ERROR_SUCCESS && name.rfind("Software\\", 0) == 0) {
        const std::string redirected = "Software\\WOW6432Node\\" + name.substr(9);
        result = open(HKEY_LOCAL_MACHINE, redirected.c_str(), &handle);
    }
    key = result == ERROR_SUCCESS ? reinterpret_cast<RegKey>(handle) : 0;
    return result;
}

// The wide call, so that a folder named in letters outside the system's code page survives.
long WindowsRegistry::QueryValue(RegKey key, std::string_view valueName, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) {
    const auto hkey = Handle(key);
    const auto query = QueryFunction();
    if (!query) return ERROR_PROC_NOT_FOUND;
    const std::wstring name = Widen(valueName);
    DWORD t = 0;
    DWORD bytes = 0;
    long result = query(hkey, name.c_str(), nullptr, &t, nullptr, &bytes);
    if (result != ERROR_SUCCESS) return result;
    std::vector<BYTE> raw(bytes);
    result = query(hkey, name.c_str(), nullptr, &t, raw.data(), &bytes);
    if (result != ERROR_SUCCESS) return result;
    raw.resize(bytes);
    if (IsStringType(t)) {
        std::wstring text(raw.size() / sizeof(wchar_t), L'\0');
        std::memcpy(text.data(), raw.data(), text.size() * sizeof(wchar_t));
        if (text.empty() || text.back() != L'\0') text.push_back(L'\0');
        const std::string utf8 = Narrow(text); // its terminating zero included
        raw.assign(utf8.begin(), utf8.end());
    }
    if (type) *type = t;
    return HandBackValue(raw, data, size);
}

long WindowsRegistry::CloseKey(RegKey key) {
    // A key was opened, so the library is loaded.
    static const auto close =
        LibraryFunction<decltype(&RegCloseKey)>(L"advapi32.dll", "RegCloseKey");
    return close ? close(Handle(key)) : ERROR_PROC_NOT_FOUND;
}

} // namespace adultify
