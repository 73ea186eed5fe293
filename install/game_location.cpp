#include "install/game_location.h"

#include <vector>

namespace adultify {

std::string GetSimsPath(Registry& registry) {
    const std::string v =
        GetRegValue(registry, RegRoot::LocalMachine, "Software\\Maxis\\The Sims", "SIMS_DATA");
    if (v.empty()) return std::string(kNotFound);
    return v.back() == '\\' ? v : v + "\\";
}

std::string GetRegValue(Registry& registry, RegRoot root, std::string_view keyName,
                        std::string_view valueName) {
    RegKey key = 0;
    (void)registry.OpenKey(root, keyName, key); // a failed open leaves the handle 0
    std::string result = QueryRegValue(registry, key, valueName);
    (void)registry.CloseKey(key);
    return result;
}

std::string QueryRegValue(Registry& registry, RegKey key, std::string_view valueName) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (registry.QueryValue(key, valueName, &type, nullptr, &size) != kErrorSuccess) return {};
    if (type == kRegSz) {
        std::vector<std::uint8_t> buffer(size, 0);
        if (registry.QueryValue(key, valueName, &type, buffer.data(), &size) != kErrorSuccess)
            return {};
        std::string text(buffer.begin(), buffer.end());
        if (const auto zero = text.find('\0'); zero != std::string::npos) text.resize(zero);
        return text;
    }
    if (type == kRegBinary) {
        // Read into a 16-bit integer: a longer value does not fit and gives nothing.
        std::uint8_t bytes[2] = {0, 0};
        std::uint32_t two = 2;
        if (registry.QueryValue(key, valueName, &type, bytes, &two) != kErrorSuccess) return {};
        const auto value = static_cast<std::int16_t>(bytes[0] | (bytes[1] << 8));
        return std::to_string(value);
    }
    return {};
}

} // namespace adultify
