#include "sample/text_encoding_platform.h"

#include <cstdint>
#include <iconv.h>

namespace adultify::sample {

std::optional<std::string> EncodeWithSystem(std::string_view utf8, int codePage) {
    const std::string to = "CP" + std::to_string(codePage);
    iconv_t cd = iconv_open(to.c_str(), "UTF-8");
    if (reinterpret_cast<std::intptr_t>(cd) == -1) return std::nullopt;
    std::string out(utf8.size() * 2 + 8, '\0');
    char* in = const_cast<char*>(utf8.data()); // iconv's signature; the input is not written
    std::size_t inLeft = utf8.size();
    char* at = out.data();
    std::size_t outLeft = out.size();
    const std::size_t r = iconv(cd, &in, &inLeft, &at, &outLeft);
    iconv_close(cd);
    if (r != 0 || inLeft > 0) return std::nullopt; // an error, or characters made up
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace adultify::sample
