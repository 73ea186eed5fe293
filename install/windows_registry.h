#pragma once

#include "install/registry.h"

namespace adultify {

// The real registry through RegOpenKeyA, RegQueryValueExW and RegCloseKey.
class WindowsRegistry final : public Registry {
  public:
    long OpenKey(RegRoot root, std::string_view subKey, RegKey& key) override;
    long QueryValue(RegKey key, std::string_view valueName, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
    long CloseKey(RegKey key) override;
};

} // namespace adultify
