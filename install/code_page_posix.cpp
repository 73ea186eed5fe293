#include "iff/cp1252.h"
#include "install/code_page.h"
#include "install/code_page_platform.h"

#include <cerrno>
#include <iconv.h>

#include <map>

namespace adultify {

namespace {

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
        out += "\xEF\xBF\xBD"; // U+FFFD
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

} // namespace

std::string DecodeWithSystem(std::string_view bytes, int codePage) {
    thread_local Converters converters;
    iconv_t cd = converters.For(codePage);
    if (cd == Converters::Invalid()) return Cp1252ToUtf8(bytes);
    return Iconv(cd, bytes);
}

int SystemCodePage() {
    return kDefaultCodePage;
}

} // namespace adultify
