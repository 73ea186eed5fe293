#include "sample/game_registry_windows.h"

#include <windows.h>

namespace adultify::sample {

void NameGameInRegistry(const std::filesystem::path& gameFolder) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Maxis\\The Sims", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    const std::wstring& value = gameFolder.native();
    RegSetValueExW(key, L"SIMS_DATA", 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

} // namespace adultify::sample
