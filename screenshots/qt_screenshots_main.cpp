// adultify-screenshots OUTDIR [--scale PERCENT]: each window of the editor on a generated
// sample game, as PNG, at the screen scale given (100 by default).
#include "app/gui/gui_front_end.h"
#include "sample/game_folder.h"
#include "screenshots/tour.h"
#include "ui/qt/dialog_font.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QTimer>

#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

using namespace adultify;

namespace {

void Picture(QWidget* w, const QString& file) {
    if (!w) return;
    QApplication::processEvents();
    w->repaint();
    const bool ok = w->grab().save(file);
    std::cout << (ok ? "wrote " : "could not write ") << file.toStdString() << "\n";
}

void Save(WindowSystem& ui, QWidget* w, const QString& file) {
    // Texts written since the last repaint reach the widgets first, or the picture shows the
    // window half drawn.
    static_cast<qt::QtWindowSystem&>(ui).Flush(true);
    Picture(w, file);
}

class QtCamera final : public screenshots::Camera {
  public:
    QtCamera(QString out, ManualClock& clock) : out_(std::move(out)), clock_(clock) {}

    void Grab(WindowSystem& ui, FormId form, const std::string& name) override {
        Save(ui, static_cast<qt::QtWindowSystem&>(ui).Window(form), File(name));
    }
    void GrabModal(WindowSystem& ui, const std::string& name) override {
        Save(ui, QApplication::activeModalWidget(), File(name));
    }
    void GrabBox(const std::string& name) override {
        Picture(QApplication::activeModalWidget(), File(name));
    }
    void AnswerBox(MsgAnswer answer) override {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        if (QAbstractButton* button = box->button(qt::ButtonOf(answer))) button->click();
    }
    void After(int ms, std::function<void()> act) override {
        QTimer::singleShot(ms, std::move(act));
    }
    void OpenSecondEditor(const std::function<void(WindowSystem&)>& whenLoaded) override {
        Editor second([](const char* name) { return std::getenv(name); }, &clock_);
        if (second.Load()) whenLoaded(second.ui());
    }

  private:
    [[nodiscard]] QString File(const std::string& name) const {
        return out_ + "/" + QString::fromStdString(name) + ".png";
    }

    QString out_;
    ManualClock& clock_;
};

// A sample game in a Wine prefix under `outdir`, named by $WINEPREFIX for the editor.
void WriteSampleGame(const char* outdir) {
    const std::string prefix = (std::filesystem::path(outdir) / "sample-prefix").string();
    std::filesystem::remove_all(prefix);
    std::filesystem::remove_all(std::filesystem::path(outdir) / "sample-data");
    const auto gameFolder =
        sample::WriteWinePrefix(prefix, "C:\\Program Files (x86)\\Maxis\\The Sims");
    sample::WriteRandomGame(gameFolder, screenshots::TourGame());
    setenv("WINEPREFIX", std::filesystem::absolute(prefix).c_str(), 1);
    // The snapshots taken before the Adultify picture stay beside the pictures, not in the
    // user's own data folder.
    setenv("XDG_DATA_HOME",
           std::filesystem::absolute(std::filesystem::path(outdir) / "sample-data").c_str(), 1);
    std::filesystem::current_path(gameFolder); // where the path dialog opens
}

// A screen as large as a player's, 1920 by 1080 at every scale, so that a message box takes
// the width it takes on a desktop: the offscreen platform's own is 800 by 600 pixels.
void UsePlayersScreen(const QString& out, double scale) {
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (!platform || std::strcmp(platform, "offscreen") != 0) return;
    const QString file = out + "/screen.json";
    QFile json(file);
    if (!json.open(QIODevice::WriteOnly)) return;
    json.write(QStringLiteral(R"({"screens": [{"name": "player", "x": 0, "y": 0, "width": %1, )"
                              R"("height": %2, "logicalDpi": 96, "dpr": 1}]})")
                   .arg(qRound(1920 * scale))
                   .arg(qRound(1080 * scale))
                   .toUtf8());
    json.close();
    setenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + file.toStdString()).c_str(), 1);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 && !(argc == 4 && std::strcmp(argv[2], "--scale") == 0)) {
        std::cerr << "usage: adultify-screenshots OUTDIR [--scale PERCENT]\n";
        return 1;
    }
    // The scale is Qt's, so it must be known before the application starts.
    const double scale = argc == 4 ? std::stod(argv[3]) / 100 : 1.0;
    setenv("QT_SCALE_FACTOR", std::to_string(scale).c_str(), 1);
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));
    const QString out = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    UsePlayersScreen(out, scale);
    WriteSampleGame(argv[1]);

    QApplication app(argc, argv);
    qt::UseDialogFont();
    ManualClock clock;
    Editor editor([](const char* name) { return std::getenv(name); }, &clock);
    QtCamera camera(out, clock);
    return screenshots::RunTour(editor.run(), editor.ui(), camera,
                                [&editor] { return editor.Load(); })
               ? 0
               : 3;
}
