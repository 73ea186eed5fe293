// The Wine registry reader: system.reg as text, then the program's own query and a look at
// each key the text names.
#include "install/game_location.h"
#include "install/wine_registry.h"

#include <string>
#include <vector>

using namespace adultify;

namespace {

// The keys of the "[...]" lines, with the file's doubled backslashes made single.
std::vector<std::string> KeyNames(std::string_view text, std::size_t most) {
    std::vector<std::string> keys;
    for (std::size_t at = text.find('['); at != std::string_view::npos && keys.size() < most;
         at = text.find('[', at + 1)) {
        const std::size_t end = text.find(']', at);
        if (end == std::string_view::npos) break;
        std::string key;
        for (std::size_t k = at + 1; k < end; ++k)
            if (!(text[k] == '\\' && k + 1 < end && text[k + 1] == '\\')) key += text[k];
        keys.push_back(std::move(key));
    }
    return keys;
}

// Asking for the size, then for the value into a buffer of that size, always agrees.
void CheckValue(WineRegistry& reg, RegKey key, std::string_view name) {
    std::uint32_t type = 0, size = 0;
    if (reg.QueryValue(key, name, &type, nullptr, &size) != kErrorSuccess) return;
    std::vector<std::uint8_t> buffer(size + 1u);
    std::uint32_t got = size;
    if (reg.QueryValue(key, name, &type, buffer.data(), &got) != kErrorSuccess || got != size)
        __builtin_trap();
    if (size > 0) {
        std::uint32_t shorter = size - 1;
        if (reg.QueryValue(key, name, &type, buffer.data(), &shorter) != kErrorMoreData ||
            shorter != size)
            __builtin_trap();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    WineRegistry reg = WineRegistry::FromText(text);
    (void)GetSimsPath(reg);
    (void)GetRegValue(reg, RegRoot::LocalMachine,
                      "System\\CurrentControlSet\\Control\\Nls\\CodePage", "ACP");
    for (const std::string& name : KeyNames(text, 8)) {
        RegKey key = 0;
        if (reg.OpenKey(RegRoot::LocalMachine, name, key) != kErrorSuccess) continue;
        for (std::string_view value : {"", "SIMS_DATA", "ACP", "InstallPath"})
            CheckValue(reg, key, value);
        if (reg.CloseKey(key) != kErrorSuccess) __builtin_trap();
        std::uint32_t length = 0;
        if (reg.QueryValue(key, "SIMS_DATA", nullptr, nullptr, &length) != kErrorInvalidHandle)
            __builtin_trap(); // a closed handle answers nothing
    }
    std::size_t consumed = 0;
    (void)DecodeRegString(text, &consumed);
    if (consumed > size) __builtin_trap();
    return 0;
}
