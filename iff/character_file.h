#pragma once
// A resident's character file: where it lies and the two pictures it holds.

#include "app/module1.h"

#include <optional>
#include <string>

namespace adultify {

// A user-file name comes from a file players share: one that could step outside the
// Characters folder (a separator, a colon, "..", a zero byte or another control character)
// names no file at all.
[[nodiscard]] bool IsSafeUserFileName(const Bytes& userFile);

// SimsPath + HoodFolder + "\Characters\" + name + ".iff" for the neighbourhood chosen in
// Combo1; nothing for an unsafe name.
[[nodiscard]] std::optional<std::string> UserFilePath(Module1& m, const Bytes& userFile);

// Reads the character file into UserFileData and shows its thumbnail in Picture1 and its
// face picture in Picture2, or the stock picture where one is missing.
void Read_UserIff(Module1& m, const Bytes& userFile);

// The thumbnail chunk: labelled "thumbnail" by the game's own sims, "newimage" by every sim
// made or saved again in Create-a-Sim. 0 when there is neither.
[[nodiscard]] Position FindThumbnailChunk(const Bytes& data);
[[nodiscard]] Position FindFaceChunk(const Bytes& data);

inline constexpr std::size_t kThumbnailDataLength = 1954;
inline constexpr std::size_t kFaceDataLength = 13010;

} // namespace adultify
