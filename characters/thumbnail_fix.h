#pragma once
// "Fix Thumbnails": every BMP_ tag of the resident's character file, and the reversed _PMB
// of its index, becomes XXXX, so that the game draws new pictures.

#include "core/module1.h"

#include <string>

namespace adultify {

void menu_fix_thumbnails_Click(Module1& m);

[[nodiscard]] std::string ThumbnailWarningText();

// Replaces the tags in place over the windows at positions 1 to length - 4; answers the count.
[[nodiscard]] int RemoveBitmapTags(Bytes& data);

} // namespace adultify
