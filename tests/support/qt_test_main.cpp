// Test programs that need a QApplication: the offscreen platform, so nothing needs a display,
// with a screen as large as a player's (1920 by 1080 at the scale in QT_SCALE_FACTOR) rather
// than the platform's own 800 by 600 pixels, on which a box at 200 % outgrows the screen.
#include "ui/qt/dialog_font.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <unistd.h>

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    if (std::string(std::getenv("QT_QPA_PLATFORM")) == "offscreen") {
        const char* factor = std::getenv("QT_SCALE_FACTOR");
        const double scale = factor ? std::atof(factor) : 1.0;
        const QString file =
            QDir::temp().filePath(QStringLiteral("adultify-screen-%1.json").arg(getpid()));
        QFile json(file);
        if (json.open(QIODevice::WriteOnly)) {
            json.write(QStringLiteral(R"({"screens": [{"name": "player", "x": 0, "y": 0, )"
                                      R"("width": %1, "height": %2, "logicalDpi": 96, "dpr": 1}]})")
                           .arg(qRound(1920 * scale))
                           .arg(qRound(1080 * scale))
                           .toUtf8());
            json.close();
            setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + file.toStdString()).c_str(), 1);
        }
    }
    QApplication app(argc, argv);
    adultify::qt::UseDialogFont();
    ::testing::InitGoogleTest(&argc, argv);
    const int failed = RUN_ALL_TESTS();
    QFile::remove(QDir::temp().filePath(QStringLiteral("adultify-screen-%1.json").arg(getpid())));
    return failed;
}
