// The neighbourhood read: the input is Neighborhood.iff, optionally followed by the character
// file that every resident reads.
#include "fuzz/fuzz_game.h"
#include "hood/get_people.h"

using namespace adultify;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::HoodInput in = fuzz::SplitHoodInput(data, size);
    fuzz::FuzzGame g(std::move(in.hood), std::move(in.character));
    g.UntilProgramEnd([&] { Get_People(g.m); });
    if (g.m.hood.RecordCount < 0 || g.m.hood.RecordCount >= kResidentLimit) __builtin_trap();
    if (!g.ui.Ended() && g.ui.ListCount("List1") != g.m.hood.RecordCount) __builtin_trap();
    return 0;
}
