#pragma once
// The registry as the program reads it: open a key, query a value, close the key.
// String values are handed back as UTF-8 with their terminator, whatever the system's code
// page: a game folder may be named in letters the 8-bit code page lacks.

#include <cstdint>
#include <string_view>

namespace adultify {

using RegKey = std::uintptr_t; // 0: no key
enum class RegRoot { LocalMachine };

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

inline constexpr long kErrorSuccess = 0;
inline constexpr long kErrorFileNotFound = 2;
inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorMoreData = 234;

class Registry {
  public:
    virtual ~Registry() = default;
    virtual long OpenKey(RegRoot root, std::string_view subKey, RegKey& key) = 0;
    // With data null: type and size only. Otherwise *size is the buffer's size on entry.
    virtual long QueryValue(RegKey key, std::string_view valueName, std::uint32_t* type,
                            std::uint8_t* data, std::uint32_t* size) = 0;
    virtual long CloseKey(RegKey key) = 0;
};

} // namespace adultify
