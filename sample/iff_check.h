#pragma once
// A structural check of whole IFF files: chunks chain exactly to the end, the rsmp lists
// only live chunks, each where it is, and every FD FF string table parses with its pad bytes.
// Live chunks the rsmp leaves out are normal: the game leaves duplicates so.

#include "iff/byte_string.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace adultify::sample {

struct CheckedChunk {
    std::string type;
    std::uint32_t offset = 0, size = 0;
    unsigned id = 0, flags = 0;
    std::string label;
    bool listed = false; // by the rsmp
};

struct IffReport {
    std::vector<CheckedChunk> chunks;
    std::vector<std::string> problems; // empty for a sound file
    std::size_t unlisted = 0;          // live chunks the rsmp does not list
};

[[nodiscard]] IffReport CheckIff(const Bytes& file);

// The chunk of this type and ID as CheckIff reads the file, the one the rsmp lists when there
// are several; nothing when there is none.
[[nodiscard]] std::optional<CheckedChunk> FindCheckedChunk(const Bytes& file, std::string_view type,
                                                           unsigned id);

// The values of an FD FF table's entries; problems are appended when it does not parse.
[[nodiscard]] std::vector<std::string>
StringTableValues(const Bytes& data, std::vector<std::string>* problems = nullptr);

} // namespace adultify::sample
