#include "install/code_page.h"
#include "install/code_page_platform.h"

#include "iff/cp1252.h"
#include "install/game_location.h"
#include "install/reg_excerpt.h"
#include "install/wine_registry.h"

#include <charconv>

namespace adultify {

bool IsKnownCodePage(int codePage) {
    switch (codePage) {
    case 874:
    case 932:
    case 936:
    case 949:
    case 950:
    case 65001: return true;
    default: return codePage >= 1250 && codePage <= 1258;
    }
}

std::string DecodeCodePage(std::string_view bytes, int codePage) {
    // The program's own 1252 table keeps the five undefined bytes as Windows does.
    if (!IsKnownCodePage(codePage) || codePage == 1252) return Cp1252ToUtf8(bytes);
    if (bytes.empty()) return {};
    return DecodeWithSystem(bytes, codePage);
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

} // namespace adultify
