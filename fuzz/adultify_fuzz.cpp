// Adultify's edits: the byte shift on the input, then the whole command on a game whose child
// has the input as its character file.
#include "ageing/adultify.h"
#include "fuzz/fuzz_game.h"

using namespace adultify;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(data, data + size);
    Bytes edited = file;
    const BodyStringEdit edit = EditBodyStrings(edited);
    if (edited.size() != size) __builtin_trap();
    if (edit.ok != edit.problem.empty() || (edit.fatal && edit.ok)) __builtin_trap();

    fuzz::FuzzGame g(fuzz::OneChildHood(), file);
    const std::string characterPath(fuzz::kChildCharacterPath);
    g.AdultifyFirstResident();
    // Both files change, or neither.
    const bool hoodChanged = g.files.Get(std::string(fuzz::kHoodPath)) != fuzz::OneChildHood();
    const bool characterChanged = g.files.Get(characterPath) != file;
    if (hoodChanged != characterChanged) __builtin_trap();
    if (characterChanged && (!edit.ok || g.files.Get(characterPath) != edited)) __builtin_trap();
    return 0;
}
