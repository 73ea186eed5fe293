// adultify-icons FOLDER NAME SIZE...: the program's icon as FOLDER/SIZExSIZE/apps/NAME.png, the
// layout of an icon theme; the build renders the installed hicolor icons with it.
#include "app/gui/face_icon_files.h"

#include <charconv>
#include <cstring>
#include <iostream>
#include <vector>

namespace {

constexpr int kLargestSize = 1024;

} // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: adultify-icons FOLDER NAME SIZE...\n";
        return 1;
    }
    std::vector<int> sizes;
    for (int i = 3; i < argc; ++i) {
        int size = 0;
        const char* end = argv[i] + std::strlen(argv[i]);
        const auto [ptr, ec] = std::from_chars(argv[i], end, size);
        if (ec != std::errc() || ptr != end || size < 1 || size > kLargestSize) {
            std::cerr << "adultify-icons: not a size from 1 to " << kLargestSize << ": " << argv[i]
                      << "\n";
            return 1;
        }
        sizes.push_back(size);
    }
    const QString error = adultify::WriteFaceIcons(QString::fromLocal8Bit(argv[1]),
                                                   QString::fromLocal8Bit(argv[2]), sizes);
    if (!error.isEmpty()) {
        std::cerr << "adultify-icons: " << error.toStdString() << "\n";
        return 1;
    }
    return 0;
}
