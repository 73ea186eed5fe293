// adultify-screenshots OUTDIR: each window of the editor on a generated sample game, as PNG.
#include "about/about_windows.h"
#include "ageing/skill_editor.h"
#include "app/form1_events.h"
#include "app/gui/gui_front_end.h"
#include "app/snapshot_window.h"
#include "app/startup.h"
#include "game/path_dialog.h"
#include "sample/game_folder.h"

#include <QApplication>
#include <QDir>
#include <QFont>
#include <QTimer>

#include <cstdlib>
#include <iostream>

using namespace adultify;

namespace {

bool Save(qt::QtWindowSystem& windows, QWidget* w, const QString& file) {
    if (!w) return false;
    // Texts written since the last repaint reach the widgets first, or the picture shows the
    // window half drawn.
    windows.Flush(true);
    QApplication::processEvents();
    w->repaint();
    const bool ok = w->grab().save(file);
    std::cout << (ok ? "wrote " : "could not write ") << file.toStdString() << "\n";
    return ok;
}

// Grabs whatever modal window is open as soon as it is shown, then closes it.
void GrabNextModal(qt::QtWindowSystem& windows, const QString& file,
                   const std::function<void()>& close) {
    QTimer::singleShot(200, [&windows, file, close] {
        Save(windows, QApplication::activeModalWidget(), file);
        close();
    });
}

// A sample game in a Wine prefix under `outdir`, named by $WINEPREFIX for the editor.
void WriteSampleGame(const char* outdir) {
    const std::string prefix = (std::filesystem::path(outdir) / "sample-prefix").string();
    std::filesystem::remove_all(prefix);
    const auto gameFolder =
        sample::WriteWinePrefix(prefix, "C:\\Program Files (x86)\\Maxis\\The Sims");
    sample::RandomHoodParams params;
    params.residents = 12;
    params.children = 4;
    params.fillerBytes = 4000;
    sample::GameSpec game;
    game.hoods.push_back(sample::RandomHood(params));
    sample::WriteGameFolder(gameFolder, game);
    setenv("WINEPREFIX", std::filesystem::absolute(prefix).c_str(), 1);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: adultify-screenshots OUTDIR\n";
        return 1;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    QDir().mkpath(out);
    WriteSampleGame(argv[1]);

    QApplication app(argc, argv);
    QFont font = QApplication::font();
    font.setPixelSize(11);
    QApplication::setFont(font);
    ManualClock clock;
    Editor editor([](const char* name) { return std::getenv(name); }, &clock);
    Module1& m = editor.m();
    auto& ui = editor.ui();

    ui.LoadForm("frmSplash");
    ui.SetCaption("frmSplash.lblVersion", MakeVersionText());
    ui.SetCaption("frmSplash.Label1", "Find Neighbourhoods - 1");
    ui.ShowForm("frmSplash");
    Save(ui, ui.Window("frmSplash"), out + "/frmSplash.png");
    ui.UnloadForm("frmSplash");

    if (!editor.Load()) return 3;
    ui.ShowForm("Form1");
    ui.ListSelect("List1", 0);
    (void)DispatchEvent(m, "List1", UiEvent::Click);
    Save(ui, ui.Window("Form1"), out + "/Form1.png");

    GrabNextModal(ui, out + "/Form2.png",
                  [&] { (void)DispatchEvent(m, "Form2.Command2", UiEvent::Click); });
    ShowPathDialog(m);

    GrabNextModal(ui, out + "/frmAbout.png",
                  [&] { (void)DispatchEvent(m, "frmAbout.cmdOK", UiEvent::Click); });
    AboutSequence(m);

    GrabNextModal(ui, out + "/frmSnapshots.png",
                  [&] { (void)DispatchEvent(m, "frmSnapshots.cmdClose", UiEvent::Click); });
    ShowSnapshotWindow(m);

    QTimer::singleShot(100, [&] {
        if (ui.SetScrollValue("Form3.HScroll1", 537))
            (void)DispatchEvent(m, "Form3.HScroll1", UiEvent::Change);
    });
    GrabNextModal(ui, out + "/Form3.png",
                  [&] { (void)DispatchEvent(m, "Form3.Command2", UiEvent::Click); });
    (void)EditSkill(m, 0, 1000, 120, "Cooking");
    return 0;
}
