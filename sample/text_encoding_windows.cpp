#include "sample/text_encoding_platform.h"

#include <windows.h>

namespace adultify::sample {

std::optional<std::string> EncodeWithSystem(std::string_view utf8, int codePage) {
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                          static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), units);
    BOOL lost = FALSE;
    const auto page = static_cast<UINT>(codePage);
    const int n = WideCharToMultiByte(page, 0, wide.data(), units, nullptr, 0, nullptr, &lost);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(page, 0, wide.data(), units, out.data(), n, nullptr, &lost);
    if (units <= 0 || n <= 0 || lost) return std::nullopt;
    return out;
}

} // namespace adultify::sample
