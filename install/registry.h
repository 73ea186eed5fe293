#pragma once
// The registry as the program reads it: open a key, query a value, close the key.
// String values are handed back as UTF-8 with their terminator, whatever the system's code
// page: a game folder may be named in letters the 8-bit code page lacks.

#include <algorithm>
#include <cstdint>
#include <span>
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

// A value's bytes handed to the caller as the registry hands them: with `data` null the size
// alone; into a buffer of *size bytes when they fit, else kErrorMoreData. *size becomes the
// size of the value.
[[nodiscard]] inline long HandBackValue(std::span<const std::uint8_t> value, std::uint8_t* data,
                                        std::uint32_t* size) {
    const auto needed = static_cast<std::uint32_t>(value.size());
    const bool fits = data != nullptr && size != nullptr && *size >= needed;
    if (size) *size = needed;
    if (data == nullptr) return kErrorSuccess;
    if (!fits) return kErrorMoreData;
    std::copy(value.begin(), value.end(), data);
    return kErrorSuccess;
}

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
