// The body string list: "&IFF" on a game whose child has the input as its character file.
#include "characters/body_strings.h"
#include "fuzz/fuzz_game.h"
#include "hood/get_people.h"

using namespace adultify;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(data, data + size);
    fuzz::FuzzGame g(fuzz::OneChildHood(), file);
    g.UntilProgramEnd([&] {
        Get_People(g.m);
        if (g.m.hood.RecordCount == 0) return;
        g.ui.ListSelect("List1", 0);
        menu_iff_Click(g.m);
    });
    // Listing changes no file.
    if (g.files.Get(std::string(fuzz::kChildCharacterPath)) != file) __builtin_trap();
    return 0;
}
