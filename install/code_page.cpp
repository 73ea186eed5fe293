#include "install/code_page.h"

#include "iff/cp1252.h"
#include "install/game_location.h"
#include "install/reg_excerpt.h"
#include "install/wine_registry.h"

#include <algorithm>
#include <charconv>
#include <map>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <iconv.h>
#endif

namespace adultify {

namespace {

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

#ifdef _WIN32
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
#endif

#ifndef _WIN32
// iconv_open loads a conversion module: keep one descriptor per code page and thread.
class Converters {
  public:
    Converters() = default;
    Converters(const Converters&) = delete;
    Converters& operator=(const Converters&) = delete;
    ~Converters() {
        for (auto& [page, cd] : open_)
            if (cd != Invalid()) iconv_close(cd);
    }
    iconv_t For(int codePage) {
        auto it = open_.find(codePage);
        if (it == open_.end()) {
            const std::string from = codePage == 65001 ? "UTF-8" : "CP" + std::to_string(codePage);
            it = open_.emplace(codePage, iconv_open("UTF-8", from.c_str())).first;
        }
        return it->second;
    }
    // iconv_open's failure value, (iconv_t)-1.
    static iconv_t Invalid() {
        return reinterpret_cast<iconv_t>(-1); // NOLINT(performance-no-int-to-ptr): iconv's API
    }

  private:
    std::map<int, iconv_t> open_;
};

std::string Iconv(iconv_t cd, std::string_view bytes) {
    std::string out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char buffer[1024];
    char* in = const_cast<char*>(bytes.data()); // iconv's signature; the input is not written
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* to = buffer;
        std::size_t toLeft = sizeof buffer;
        const std::size_t r = iconv(cd, &in, &inLeft, &to, &toLeft);
        out.append(buffer, static_cast<std::size_t>(to - buffer));
        if (r != static_cast<std::size_t>(-1)) continue;
        if (errno == E2BIG) continue;
        // EILSEQ or a sequence cut off by the end: one byte is replaced and skipped.
        out += kReplacement;
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}
#endif

} // namespace

bool IsKnownCodePage(int codePage) {
    switch (codePage) {
    case 874:
    case 932:
    case 936:
    case 949:
    case 950:
    case 65001:
        return true;
    default:
        return codePage >= 1250 && codePage <= 1258;
    }
}

std::string DecodeCodePage(std::string_view bytes, int codePage) {
    // The program's own 1252 table keeps the five undefined bytes as Windows does.
    if (!IsKnownCodePage(codePage) || codePage == 1252) return Cp1252ToUtf8(bytes);
    if (bytes.empty()) return {};
#ifdef _WIN32
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
#else
    thread_local Converters converters;
    iconv_t cd = converters.For(codePage);
    if (cd == Converters::Invalid()) return Cp1252ToUtf8(bytes);
    return Iconv(cd, bytes);
#endif
}

int AnsiCodePage(Registry& registry) {
    const std::string text =
        GetRegValue(registry, RegRoot::LocalMachine,
                    "System\\CurrentControlSet\\Control\\Nls\\CodePage", "ACP");
    int page = 0;
    const char* end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, page);
    if (ec != std::errc() || ptr != end || !IsKnownCodePage(page)) return kDefaultCodePage;
    return page;
}

int PrefixCodePage(const std::filesystem::path& prefix) {
    WineRegistry registry =
        WineRegistry::FromText(RegistryExcerpt(ReadSystemReg(prefix), {kCodePageKey}));
    return AnsiCodePage(registry);
}

int SystemCodePage() {
#ifdef _WIN32
    const int page = static_cast<int>(GetACP());
    return IsKnownCodePage(page) ? page : kDefaultCodePage;
#else
    return kDefaultCodePage;
#endif
}

} // namespace adultify
