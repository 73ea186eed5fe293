#include "game/windows_registry.h"

#ifdef _WIN32
#include <string>
#include <windows.h>

namespace adultify {

long WindowsRegistry::OpenKey(RegRoot, std::string_view subKey, RegKey& key) {
    HKEY handle = nullptr;
    const std::string name(subKey);
    long result = RegOpenKeyA(HKEY_LOCAL_MACHINE, name.c_str(), &handle);
    // A 64-bit build does not see the 32-bit installer's key unless it asks for its copy.
    if (result != ERROR_SUCCESS && name.rfind("Software\\", 0) == 0) {
        const std::string redirected = "Software\\WOW6432Node\\" + name.substr(9);
        result = RegOpenKeyA(HKEY_LOCAL_MACHINE, redirected.c_str(), &handle);
    }
    key = result == ERROR_SUCCESS ? reinterpret_cast<RegKey>(handle) : 0;
    return result;
}

long WindowsRegistry::QueryValue(RegKey key, std::string_view valueName, std::uint32_t* type,
                                 std::uint8_t* data, std::uint32_t* size) {
    const std::string name(valueName);
    DWORD t = 0;
    DWORD s = size ? *size : 0;
    const long result = RegQueryValueExA(reinterpret_cast<HKEY>(key), name.c_str(), nullptr, &t,
                                         data, size ? &s : nullptr);
    if (type) *type = t;
    if (size) *size = s;
    return result;
}

long WindowsRegistry::CloseKey(RegKey key) {
    return RegCloseKey(reinterpret_cast<HKEY>(key));
}

} // namespace adultify
#endif
