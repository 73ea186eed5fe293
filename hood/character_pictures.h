#pragma once
// The pictures of the resident selected in List1, from its character file.

#include "core/module1.h"

namespace adultify {

// Reads the character file into UserFileData and shows its thumbnail in Picture1 and its
// face picture in Picture2, or the stock picture where one is missing.
void Read_UserIff(Module1& m, const Bytes& userFile);

} // namespace adultify
