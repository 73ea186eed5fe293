#include "app/gui/face_icon_files.h"

#include "tests/support/temp_dir.h"

#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <fstream>

namespace adultify {
namespace {

QString Q(const std::filesystem::path& p) {
    return QString::fromStdString(p.string());
}

std::filesystem::path IconPath(const std::filesystem::path& folder, int size) {
    const std::string side = std::to_string(size);
    return folder / (side + "x" + side) / "apps" / "test.app.png";
}

TEST(FaceIconFiles, EachSizeIsAFaceOfThatSizeWhereAThemeLooksForIt) {
    test::TempDir dir;
    const std::vector<int> sizes = {16, 48, 256};
    ASSERT_EQ(WriteFaceIcons(Q(dir.path()), "test.app", sizes), QString());
    for (const int size : sizes) {
        SCOPED_TRACE(size);
        QImageReader reader(Q(IconPath(dir.path(), size)));
        EXPECT_EQ(reader.format(), "png");
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(image.isNull()) << reader.errorString().toStdString();
        EXPECT_EQ(image.size(), QSize(size, size));
        // A round face on a clear ground: clear corners, an opaque yellow middle.
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(image.pixel(size - 1, size - 1)), 0);
        const QRgb middle = image.pixel(size / 2, size / 2);
        EXPECT_EQ(qAlpha(middle), 255);
        EXPECT_GT(qRed(middle), 200);
        EXPECT_LT(qBlue(middle), 140);
    }
    // Only the sizes asked for.
    EXPECT_FALSE(std::filesystem::exists(IconPath(dir.path(), 32)));
}

TEST(FaceIconFiles, ARerunReplacesTheFilesAndAFailureIsReported) {
    test::TempDir dir;
    const std::filesystem::path icon = IconPath(dir.path(), 16);
    std::filesystem::create_directories(icon.parent_path());
    std::ofstream(icon) << "stale";
    ASSERT_EQ(WriteFaceIcons(Q(dir.path()), "test.app", {16}), QString());
    EXPECT_EQ(QImage(Q(icon)).size(), QSize(16, 16));

    // A file where the size's folder should be: nothing can be written under it.
    const std::filesystem::path blocked = dir.path() / "blocked";
    std::ofstream(blocked) << "not a folder";
    const QString error = WriteFaceIcons(Q(blocked), "test.app", {16});
    EXPECT_FALSE(error.isEmpty());
    EXPECT_TRUE(error.contains(Q(blocked))) << error.toStdString();
}

} // namespace
} // namespace adultify
