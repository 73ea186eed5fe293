#pragma once
// Quick reads of a Wine prefix's system.reg. The file runs to megabytes and a search may meet
// hundreds of them: these look at its text without parsing the whole registry.

#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace adultify {

// The text of prefix/system.reg in one read; empty when it cannot be read.
[[nodiscard]] std::string ReadSystemReg(const std::filesystem::path& prefix);

// Whether `text` holds `needle`, ASCII letters matching in either case.
[[nodiscard]] bool ContainsIgnoringCase(std::string_view text, std::string_view needle);

// The sections of the keys named in `keys` (single backslashes, any letter case), as a registry
// file WineRegistry::FromText reads; only the header line when none is present.
[[nodiscard]] std::string RegistryExcerpt(std::string_view systemReg,
                                          std::initializer_list<std::string_view> keys);

} // namespace adultify
