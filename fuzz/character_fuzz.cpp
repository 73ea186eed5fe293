// The character file reader: the first name, the picture chunks and their decoding.
#include "fuzz/fuzz_game.h"
#include "hood/character_pictures.h"
#include "iff/character_file.h"

#include <algorithm>

using namespace adultify;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(data, data + size);
    const FirstNameResult name = FirstNameOf(file);
    // A name ends at its zero byte; its first byte is taken whatever it is.
    if (name.outcome == FirstNameResult::Outcome::Found && name.name.size() > 1 &&
        std::find(name.name.begin() + 1, name.name.end(), 0) != name.name.end())
        __builtin_trap();
    for (Position chunk : {FindThumbnailChunk(file), FindFaceChunk(file)})
        if (chunk < 0 || chunk > static_cast<Position>(size)) __builtin_trap();

    fuzz::FuzzGame g(fuzz::OneChildHood(), file);
    g.UntilProgramEnd([&] { Read_UserIff(g.m, ToBytes("user00001")); });
    if (g.m.UserFileData != file) __builtin_trap();
    return 0;
}
