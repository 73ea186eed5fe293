// Steam's libraryfolders.vdf reader.
#include "install/vdf.h"

using namespace adultify;

namespace {

// Nesting past the limit is an error, never a deeper tree.
void CheckDepth(const VdfNode& node, int depth) {
    if (depth > kVdfMaxDepth + 1) __builtin_trap();
    if (!node.block && !node.children.empty()) __builtin_trap();
    for (const VdfNode& child : node.children)
        CheckDepth(child, depth + 1);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const VdfResult result = ParseVdf(text);
    if (result.offset > size) __builtin_trap();
    CheckDepth(result.root, 0);
    if (const VdfNode* folders = result.root.Child("libraryfolders"))
        for (const VdfNode& library : folders->children)
            (void)library.Child("path");
    return 0;
}
