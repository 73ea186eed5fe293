// The bitmap size reader stands in for QImage in the window layers without Qt: over whole,
// odd and damaged bitmaps it must accept exactly what QImage accepts, with the same size.
#include "tests/support/bitmap_variants.h"
#include "ui/bitmap_size.h"

#include <QImage>
#include <QtGlobal>

#include <gtest/gtest.h>

namespace adultify {
namespace {

using test::BmpBytes;

std::optional<BitmapSize> QImageSize(const BmpBytes& file) {
    QImage image;
    if (!image.loadFromData(file.data(), static_cast<int>(file.size())) || image.isNull())
        return std::nullopt;
    return BitmapSize{image.width(), image.height()};
}

std::string Shown(const std::optional<BitmapSize>& s) {
    return s ? std::to_string(s->width) + "x" + std::to_string(s->height) : "refused";
}

void ExpectSameVerdicts(const std::vector<BmpBytes>& files, const std::string& what, int& accepted,
                        int& refused) {
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto ours = ReadBitmapSize(files[i]);
        const auto qt = QImageSize(files[i]);
        EXPECT_EQ(Shown(ours), Shown(qt))
            << what << ", variant " << i << " of " << files[i].size() << " bytes";
        ++(qt ? accepted : refused);
    }
}

class BitmapSizeAgainstQImage : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        // The loader warns about every bad seek and oversized picture: thousands of lines.
        qputenv("QT_LOGGING_RULES", "*.warning=false");
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    }
};

TEST_F(BitmapSizeAgainstQImage, WholeBitmapsOfEveryKind) {
    int accepted = 0, refused = 0;
    std::vector<BmpBytes> files;
    for (const test::BmpShape& s : test::BmpShapes())
        files.push_back(test::MakeBmp(s));
    ExpectSameVerdicts(files, "whole bitmap", accepted, refused);
    EXPECT_GT(accepted, 300); // the set holds real pictures, not only refusals
}

TEST_F(BitmapSizeAgainstQImage, DamagedAndOddCopies) {
    int accepted = 0, refused = 0;
    std::uint32_t seed = 1;
    for (const test::BmpShape& s : test::BmpShapes()) {
        const BmpBytes good = test::MakeBmp(s);
        ExpectSameVerdicts(test::BmpMutations(good, seed++),
                           std::to_string(s.bits) + "-bit " + std::to_string(s.width) + "x" +
                               std::to_string(s.height) + " header " + std::to_string(s.infoSize) +
                               " compression " + std::to_string(s.compression),
                           accepted, refused);
        if (HasFailure()) return; // one shape's report is enough to read
    }
    EXPECT_GT(accepted, 1000);
    EXPECT_GT(refused, 1000);
}

TEST_F(BitmapSizeAgainstQImage, HugeDimensionsAtEveryDepth) {
    int accepted = 0, refused = 0;
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        test::BmpShape s;
        s.bits = bits;
        ExpectSameVerdicts(test::BmpHugeVariants(test::MakeBmp(s)),
                           "huge " + std::to_string(bits) + "-bit", accepted, refused);
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

TEST_F(BitmapSizeAgainstQImage, RunLengthStreamsCutAnywhere) {
    int accepted = 0, refused = 0;
    for (int width : {1, 6, 7, 25}) {
        test::BmpShape s;
        s.width = width;
        s.height = 5;
        s.bits = 8;
        s.compression = 1;
        const BmpBytes good = test::MakeBmp(s);
        std::vector<BmpBytes> cuts;
        for (std::size_t n = 14 + 40 + 1024; n <= good.size(); ++n)
            cuts.emplace_back(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(n));
        // A literal stretch longer than the row, and a jump past the picture.
        BmpBytes longLiteral = good;
        longLiteral.resize(14 + 40 + 1024);
        longLiteral.insert(longLiteral.end(), {0, 200, 1, 2, 3});
        cuts.push_back(longLiteral);
        BmpBytes jump = good;
        jump.resize(14 + 40 + 1024);
        jump.insert(jump.end(), {0, 2, 250, 250, 0, 9, 1, 2, 3});
        cuts.push_back(jump);
        ExpectSameVerdicts(cuts, "RLE8 width " + std::to_string(width), accepted, refused);
    }
    EXPECT_GT(refused, 0);
}

} // namespace
} // namespace adultify
