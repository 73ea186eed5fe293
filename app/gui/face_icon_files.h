#pragma once
// The program's icon as the PNG files of an icon theme, drawn by the editor's own code.

#include <QString>

#include <vector>

namespace adultify {

// The face the main window shows at rest, after start-up: the program's icon.
inline constexpr int kIconFace = 1;

// Writes FOLDER/NxN/apps/NAME.png for each size N. Answers the first failure as a message, or
// an empty text when every file was written; a file is replaced whole or not at all.
[[nodiscard]] QString WriteFaceIcons(const QString& folder, const QString& name,
                                     const std::vector<int>& sizes);

} // namespace adultify
