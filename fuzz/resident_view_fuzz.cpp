// The resident view: the neighbourhood is read, then each resident clicked in turn.
#include "fuzz/fuzz_game.h"
#include "hood/get_people.h"
#include "hood/resident_view.h"

#include <algorithm>

using namespace adultify;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr int kMostClicks = 40; // enough for every layout, few enough to stay fast
    fuzz::HoodInput in = fuzz::SplitHoodInput(data, size);
    fuzz::FuzzGame g(std::move(in.hood), std::move(in.character));
    g.UntilProgramEnd([&] {
        Get_People(g.m);
        const int count = std::min(g.ui.ListCount("List1"), kMostClicks);
        for (int i = 0; i < count; ++i) {
            g.ui.ListSelect("List1", i);
            List1_Click(g.m);
        }
    });
    return 0;
}
