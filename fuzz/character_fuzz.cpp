// The character file reader: the first name, the picture chunks and their decoding.
#include "fuzz/fuzz_game.h"
#include "hood/character_pictures.h"
#include "iff/character_file.h"
#include "iff/chunk_search.h"

#include <algorithm>

using namespace adultify;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const Bytes file(data, data + size);
    const FirstNameResult name = FirstNameOf(file);
    // A name ends before its zero byte and never runs past the name table's chunk.
    if (name.outcome == FirstNameResult::Outcome::Found &&
        (std::find(name.name.begin(), name.name.end(), 0) != name.name.end() ||
         name.name.size() + kChunkHeaderSize + 5 > file.size()))
        __builtin_trap();
    for (Position chunk : {FindThumbnailChunk(file), FindFaceChunk(file)})
        if (chunk < 0 || chunk > static_cast<Position>(size)) __builtin_trap();

    fuzz::FuzzGame g(fuzz::OneChildHood(), file);
    g.UntilProgramEnd([&] { Read_UserIff(g.m, ToBytes("user00001")); });
    if (g.m.hood.UserFileData != file) __builtin_trap();
    return 0;
}
