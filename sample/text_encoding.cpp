#include "sample/text_encoding.h"

#include "iff/cp1252.h"

#include <cstdint>
#include <stdexcept>

#ifdef _WIN32
#include <windows.h>
#else
#include <iconv.h>
#endif

namespace adultify::sample {

namespace {

[[noreturn]] void Fail(std::string_view utf8, int codePage) {
    throw std::invalid_argument("\"" + std::string(utf8) + "\" has no place in code page " +
                                std::to_string(codePage));
}

} // namespace

std::string EncodeText(std::string_view utf8, int codePage) {
    if (codePage == 1252) return Utf8ToCp1252(utf8); // as the samples always had it
    if (utf8.empty()) return {};
#ifdef _WIN32
    const int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, utf8.data(),
                                          static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(units > 0 ? units : 0), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), units);
    BOOL lost = FALSE;
    const auto page = static_cast<UINT>(codePage);
    const int n = WideCharToMultiByte(page, 0, wide.data(), units, nullptr, 0, nullptr, &lost);
    std::string out(static_cast<std::size_t>(n > 0 ? n : 0), '\0');
    WideCharToMultiByte(page, 0, wide.data(), units, out.data(), n, nullptr, &lost);
    if (units <= 0 || n <= 0 || lost) Fail(utf8, codePage);
    return out;
#else
    const std::string to = "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open(to.c_str(), "UTF-8");
    if (reinterpret_cast<std::intptr_t>(cd) == -1) Fail(utf8, codePage);
    std::string out(utf8.size() * 2 + 8, '\0');
    char* in = const_cast<char*>(utf8.data()); // iconv's signature; the input is not written
    std::size_t inLeft = utf8.size();
    char* at = out.data();
    std::size_t outLeft = out.size();
    const std::size_t r = iconv(cd, &in, &inLeft, &at, &outLeft);
    iconv_close(cd);
    if (r != 0 || inLeft > 0) Fail(utf8, codePage); // an error, or characters made up
    out.resize(out.size() - outLeft);
    return out;
#endif
}

} // namespace adultify::sample
