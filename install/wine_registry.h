#pragma once
// HKEY_LOCAL_MACHINE as a Wine prefix keeps it: the text file system.reg, only ever read.

#include "iff/byte_string.h"
#include "install/registry.h"

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace adultify {

struct RegValue {
    std::uint32_t type = 0;
    Bytes data; // strings as UTF-8 with their terminator
};

class WineRegistry final : public Registry {
  public:
    WineRegistry() = default;
    // A missing or unreadable file gives an empty registry.
    static WineRegistry FromPrefix(const std::filesystem::path& prefix);
    static WineRegistry FromText(std::string_view systemReg);

    long OpenKey(RegRoot root, std::string_view subKey, RegKey& key) override;
    long QueryValue(RegKey key, std::string_view valueName, std::uint32_t* type, std::uint8_t* data,
                    std::uint32_t* size) override;
    long CloseKey(RegKey key) override;

  private:
    using Values = std::map<std::string, RegValue>; // value names lower-cased
    std::map<std::string, Values> keys_;            // key paths lower-cased, single backslashes
    std::vector<const Values*> open_;               // handle h is open_[h - 1]
};

// Wine's escapes in a quoted registry string, as UTF-8. `text` starts after the opening quote;
// `consumed` receives the characters read, the closing quote included.
[[nodiscard]] std::string DecodeRegString(std::string_view text, std::size_t* consumed);

} // namespace adultify
