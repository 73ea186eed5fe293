#include "install/code_page.h"
#include "install/code_page_platform.h"

#include <algorithm>

#include <windows.h>

namespace adultify {

namespace {

// How many bytes the character at `at` takes in the page, as far as the bytes go.
int CharacterLength(std::string_view bytes, std::size_t at, int codePage) {
    const auto lead = static_cast<unsigned char>(bytes[at]);
    int length = 1;
    if (codePage == 65001)
        length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    else if (::IsDBCSLeadByteEx(static_cast<UINT>(codePage), lead))
        length = 2;
    return static_cast<int>(
        std::min<std::size_t>(static_cast<std::size_t>(length), bytes.size() - at));
}

// Windows' tables give the bytes a page leaves undefined a C1 control or a private-use
// character instead of failing.
bool UndefinedInPage(wchar_t unit) {
    return (unit >= 0x80 && unit <= 0x9F) || (unit >= 0xE000 && unit <= 0xF8FF);
}

} // namespace

std::string DecodeWithSystem(std::string_view bytes, int codePage) {
    // One character at a time, so that a byte the page leaves undefined, or a lead byte
    // without its trail, becomes U+FFFD as iconv makes it on Linux, and nothing else is lost.
    std::wstring wide;
    for (std::size_t at = 0; at < bytes.size();) {
        const int length = CharacterLength(bytes, at, codePage);
        wchar_t units[4] = {};
        const int n = MultiByteToWideChar(static_cast<UINT>(codePage), MB_ERR_INVALID_CHARS,
                                          bytes.data() + at, length, units, 4);
        if (n <= 0 || (n == 1 && UndefinedInPage(units[0]))) {
            wide += L'\xFFFD';
            ++at; // the next byte starts a character of its own
            continue;
        }
        wide.append(units, static_cast<std::size_t>(n));
        at += static_cast<std::size_t>(length);
    }
    const int wideSize = static_cast<int>(wide.size());
    const int outSize =
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(outSize > 0 ? outSize : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideSize, out.data(), outSize, nullptr, nullptr);
    return out;
}

int SystemCodePage() {
    const int page = static_cast<int>(GetACP());
    return IsKnownCodePage(page) ? page : kDefaultCodePage;
}

} // namespace adultify
