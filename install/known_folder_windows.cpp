#include "install/known_folder_windows.h"
#include "install/library_function_windows.h"

namespace adultify {

std::optional<std::filesystem::path> KnownFolder(REFKNOWNFOLDERID id) {
    using GetPath = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
    using Free = void(WINAPI*)(LPVOID);
    static const auto getPath = LibraryFunction<GetPath>(L"shell32.dll", "SHGetKnownFolderPath");
    static const auto free = LibraryFunction<Free>(L"ole32.dll", "CoTaskMemFree");
    if (getPath == nullptr || free == nullptr) return std::nullopt;
    PWSTR raw = nullptr;
    std::optional<std::filesystem::path> folder;
    if (SUCCEEDED(getPath(id, 0, nullptr, &raw)) && raw) folder = std::filesystem::path(raw);
    free(raw);
    return folder;
}

} // namespace adultify
