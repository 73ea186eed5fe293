#pragma once
// Valve's KeyValues text format, as Steam writes libraryfolders.vdf: "key" "value" pairs and
// "key" { ... } blocks, strings in double quotes with backslash escapes, // comments.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace adultify {

struct VdfNode {
    std::string key;
    std::string value;             // a pair's value; empty for a block
    std::vector<VdfNode> children; // a block's entries in file order
    bool block = false;

    // The first entry named `name`; KeyValues keys match without regard to ASCII case.
    [[nodiscard]] const VdfNode* Child(std::string_view name) const;
};

struct VdfResult {
    VdfNode root;          // a block holding the file's top-level entries
    std::string error;     // empty when the whole text parsed
    std::size_t offset{0}; // where the error was found

    [[nodiscard]] bool ok() const { return error.empty(); }
};

// Blocks nested deeper than this are an error, so that a garbled file cannot exhaust the stack.
inline constexpr int kVdfMaxDepth = 32;

// Never throws. On error, `root` holds what was read before it.
[[nodiscard]] VdfResult ParseVdf(std::string_view text, int maxDepth = kVdfMaxDepth);

} // namespace adultify
