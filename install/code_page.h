#pragma once
// The game writes names in the system's ANSI code page: Windows-1252 in Western games,
// 1251 in Russian ones, 932 in Japanese ones and so on.

#include "install/registry.h"

#include <filesystem>
#include <string>
#include <string_view>

namespace adultify {

inline constexpr int kDefaultCodePage = 1252;
inline constexpr std::string_view kCodePageKey =
    "System\\CurrentControlSet\\Control\\Nls\\CodePage";

// The ANSI code pages Windows has: 874, 932, 936, 949, 950, 1250 to 1258, and 65001 (UTF-8).
[[nodiscard]] bool IsKnownCodePage(int codePage);

// 8-bit text in code page `codePage` as UTF-8. A byte or sequence the code page does not define
// becomes U+FFFD; an unknown code page is read as Windows-1252. Never throws.
[[nodiscard]] std::string DecodeCodePage(std::string_view bytes, int codePage);

// The ACP value of kCodePageKey; 1252 when it is missing, not a number or not a known code page.
[[nodiscard]] int AnsiCodePage(Registry& registry);

// The same from a Wine prefix's system.reg.
[[nodiscard]] int PrefixCodePage(const std::filesystem::path& prefix);

// The code page of the running system: GetACP() on Windows, else 1252.
[[nodiscard]] int SystemCodePage();

} // namespace adultify
