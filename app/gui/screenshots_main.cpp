// adultify-screenshots OUTDIR [--scale PERCENT]: each window of the editor on a generated
// sample game, as PNG, at the screen scale given (100 by default).
#include "about/about_windows.h"
#include "ageing/adultify.h"
#include "ageing/skill_editor.h"
#include "app/children_window.h"
#include "app/form1_events.h"
#include "app/gui/gui_front_end.h"
#include "app/snapshot_window.h"
#include "app/startup.h"
#include "characters/thumbnail_fix.h"
#include "game/path_dialog.h"
#include "hood/resident_view.h"
#include "sample/game_folder.h"
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

// Closes the next message box by the button given, without a picture.
void AnswerNextMessage(QMessageBox::StandardButton button) {
    QTimer::singleShot(200, [button] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(button)->click();
    });
}

// The first child of the resident list, whose data the main window then shows.
int FirstChild(qt::QtWindowSystem& ui, const Module1& m) {
    for (int line = 0; line < ui.ListCount("List1"); ++line)
        if (IsChild(m.People[static_cast<std::size_t>(line)])) return line;
    return 0;
}

// A sample game in a Wine prefix under `outdir`, named by $WINEPREFIX for the editor.
void WriteSampleGame(const char* outdir) {
    const std::string prefix = (std::filesystem::path(outdir) / "sample-prefix").string();
    std::filesystem::remove_all(prefix);
    std::filesystem::remove_all(std::filesystem::path(outdir) / "sample-data");
    const auto gameFolder =
        sample::WriteWinePrefix(prefix, "C:\\Program Files (x86)\\Maxis\\The Sims");
    sample::RandomHoodParams params;
    params.residents = 12;
    params.children = 4;
    params.fillerBytes = 4000;
    sample::WriteRandomGame(gameFolder, params);
    setenv("WINEPREFIX", std::filesystem::absolute(prefix).c_str(), 1);
    // The snapshots taken before the Adultify picture stay beside the pictures, not in the
    // user's own data folder.
    setenv("XDG_DATA_HOME",
           std::filesystem::absolute(std::filesystem::path(outdir) / "sample-data").c_str(), 1);
    std::filesystem::current_path(gameFolder); // where the path dialog opens
}

void GrabSplash(qt::QtWindowSystem& ui, const QString& out) {
    ui.LoadForm("frmSplash");
    ui.SetCaption("frmSplash.lblVersion", MakeVersionText());
    ui.SetCaption("frmSplash.Label1", "Find Neighbourhoods - 1");
    ui.ShowForm("frmSplash");
    Save(ui, ui.Window("frmSplash"), out + "/frmSplash.png");
    ui.UnloadForm("frmSplash");
}

// The path dialog, the about window and the skill dialog at 537, each closed after its picture.
void GrabDialogs(qt::QtWindowSystem& ui, Module1& m, const QString& out) {
    GrabNextModal(ui, out + "/Form2.png",
                  [&] { (void)DispatchEvent(m, "Form2.Command2", UiEvent::Click); });
    ShowPathDialog(m);

    GrabNextModal(ui, out + "/frmAbout.png",
                  [&] { (void)DispatchEvent(m, "frmAbout.cmdOK", UiEvent::Click); });
    AboutSequence(m);

    QTimer::singleShot(100, [&] {
        if (ui.SetScrollValue("Form3.HScroll1", 537))
            (void)DispatchEvent(m, "Form3.HScroll1", UiEvent::Change);
    });
    GrabNextModal(ui, out + "/Form3.png",
                  [&] { (void)DispatchEvent(m, "Form3.Command2", UiEvent::Click); });
    (void)EditSkill(m, 0, 1000, 120, "Cooking");
}

// The thumbnail warning and the Adultify result on the child shown, then the snapshot window
// with the snapshot Adultify took.
void GrabMessagesAndSnapshots(qt::QtWindowSystem& ui, Module1& m, const QString& out, int child) {
    // The warning answered No, then the notice that nothing was removed.
    GrabNextModal(ui, out + "/ThumbnailWarning.png", [] { AnswerNextMessage(QMessageBox::Ok); });
    AnswerNextMessage(QMessageBox::No);
    menu_fix_thumbnails_Click(m);

    ui.ListSelect("List1", child);
    (void)DispatchEvent(m, "List1", UiEvent::Click);
    GrabNextModal(ui, out + "/AdultifyResult.png", [] {});
    AnswerNextMessage(QMessageBox::Ok);
    Adultify_Command1_Click(m);
    Save(ui, ui.Window("Form1"), out + "/Form1-AfterAdultify.png");

    GrabNextModal(ui, out + "/frmSnapshots.png",
                  [&] { (void)DispatchEvent(m, "frmSnapshots.cmdClose", UiEvent::Click); });
    ShowSnapshotWindow(m);
}

// The children window with two lines marked and the next one chosen.
void GrabChildren(qt::QtWindowSystem& ui, Module1& m, const QString& out) {
    QTimer::singleShot(100, [&] {
        for (int line = 0; line < 3 && line < ui.ListCount("frmChildren.List1"); ++line) {
            ui.ListSelect("frmChildren.List1", line);
            (void)DispatchEvent(m, "frmChildren.List1", UiEvent::Click);
            if (line < 2) (void)DispatchEvent(m, "frmChildren.cmdMark", UiEvent::Click);
        }
    });
    GrabNextModal(ui, out + "/frmChildren.png",
                  [&] { (void)DispatchEvent(m, "frmChildren.cmdClose", UiEvent::Click); });
    ShowChildrenWindow(m);
}

// The next child, refused while the game runs: the question answered No, then the log.
void GrabRefusedLog(qt::QtWindowSystem& ui, Module1& m, const QString& out) {
    ui.ListSelect("List1", FirstChild(ui, m));
    (void)DispatchEvent(m, "List1", UiEvent::Click);
    m.findRunningGame = [] { return std::optional<std::string>("Sims.exe (process 4242)"); };
    GrabNextModal(ui, out + "/GameRunningQuestion.png", [] {});
    AnswerNextMessage(QMessageBox::No);
    (void)DispatchEvent(m, "Command1", UiEvent::Click);
    Save(ui, ui.Window("Form1"), out + "/Form1-Refused.png");
    m.findRunningGame = nullptr;
}

// A second editor on the same game while the first is open: told, and read-only.
void GrabSecondEditor(ManualClock& clock, const QString& out) {
    Editor second([](const char* name) { return std::getenv(name); }, &clock);
    GrabNextModal(second.ui(), out + "/ReadOnlyMessage.png", [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    if (!second.Load()) return;
    second.ui().ShowForm("Form1");
    Save(second.ui(), second.ui().Window("Form1"), out + "/Form1-ReadOnly.png");
}

// The question before leaving with unsaved edits, answered Cancel.
void GrabUnsavedQuestion(Module1& m, qt::QtWindowSystem& ui, const QString& out) {
    GrabNextModal(ui, out + "/UnsavedQuestion.png", [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Cancel)->click();
    });
    m.UnsavedData = kTrue;
    (void)DispatchEvent(m, "menu_exit", UiEvent::Click);
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
    Module1& m = editor.m();
    auto& ui = editor.ui();

    GrabSplash(ui, out);
    if (!editor.Load()) return 3;
    ui.ShowForm("Form1");
    const int child = FirstChild(ui, m);
    ui.ListSelect("List1", child);
    (void)DispatchEvent(m, "List1", UiEvent::Click);
    Save(ui, ui.Window("Form1"), out + "/Form1.png");
    GrabDialogs(ui, m, out);
    GrabMessagesAndSnapshots(ui, m, out, child);
    GrabChildren(ui, m, out);
    GrabRefusedLog(ui, m, out);
    GrabSecondEditor(clock, out);
    GrabUnsavedQuestion(m, ui, out);
    return 0;
}
