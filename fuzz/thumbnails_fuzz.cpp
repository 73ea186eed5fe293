// The thumbnail fix: tags become XXXX in place, nothing else moves.
#include "characters/thumbnail_fix.h"

#include <vector>

using namespace adultify;

namespace {

// Plain comparisons: libFuzzer's memcmp hook would cost more than the code under test.
bool IsTag(const std::uint8_t* at) {
    return (at[0] == 'B' && at[1] == 'M' && at[2] == 'P' && at[3] == '_') ||
           (at[0] == '_' && at[1] == 'P' && at[2] == 'M' && at[3] == 'B');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes fixed(data, data + size);
    const int count = RemoveBitmapTags(fixed);
    if (fixed.size() != size || count < 0) __builtin_trap();
    // Windows start at 0-based offsets 0 to size - 5: a tag in the last four bytes stays.
    const std::size_t windows = size >= 5 ? size - 4 : 0;
    std::vector<bool> covered(size, false);
    for (std::size_t s = 0; s < windows; ++s)
        if (IsTag(data + s))
            for (std::size_t k = s; k < s + 4; ++k)
                covered[k] = true;
    std::size_t changed = 0;
    for (std::size_t k = 0; k < size; ++k) {
        if (fixed[k] == data[k]) continue;
        ++changed;
        if (fixed[k] != 'X' || !covered[k]) __builtin_trap();
    }
    if (changed != static_cast<std::size_t>(count) * 4)
        __builtin_trap(); // replaced windows never overlap
    for (std::size_t s = 0; s < windows; ++s)
        if (IsTag(fixed.data() + s)) __builtin_trap(); // a tag the scan passed over
    Bytes again = fixed;
    if (RemoveBitmapTags(again) != 0 || again != fixed) __builtin_trap();
    return 0;
}
