#pragma once
// Windows only: a sample game named in the registry, where the editor looks first.

#include <filesystem>

namespace adultify::sample {

void NameGameInRegistry(const std::filesystem::path& gameFolder);

} // namespace adultify::sample
