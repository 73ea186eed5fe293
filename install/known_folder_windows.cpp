#include "install/known_folder_windows.h"

namespace adultify {

namespace {

// Through void (*)(), the one function type any other may be cast from without a warning.
template <typename Function> Function Find(const wchar_t* library, const char* name) {
    const HMODULE module = ::LoadLibraryW(library);
    if (module == nullptr) return nullptr;
    const FARPROC found = ::GetProcAddress(module, name);
    // The library stays loaded: the function found is kept for the program's life.
    // cppcheck-suppress resourceLeak
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(found));
}

} // namespace

std::optional<std::filesystem::path> KnownFolder(REFKNOWNFOLDERID id) {
    using GetPath = HRESULT(WINAPI*)(REFKNOWNFOLDERID, DWORD, HANDLE, PWSTR*);
    using Free = void(WINAPI*)(LPVOID);
    static const auto getPath = Find<GetPath>(L"shell32.dll", "SHGetKnownFolderPath");
    static const auto free = Find<Free>(L"ole32.dll", "CoTaskMemFree");
    if (getPath == nullptr || free == nullptr) return std::nullopt;
    PWSTR raw = nullptr;
    std::optional<std::filesystem::path> folder;
    if (SUCCEEDED(getPath(id, 0, nullptr, &raw)) && raw) folder = std::filesystem::path(raw);
    free(raw);
    return folder;
}

} // namespace adultify
