#include "app/gui/gui_front_end.h"

#include "app/form1_events.h"
#include "app/startup.h"
#include "game/remembered_folder.h"

#include <QApplication>
#include <QSessionManager>

namespace adultify {

Editor::Editor(const EnvironmentLookup& env, Clock* clock) : platform_(MakePlatform(env)) {
    ui_ = std::make_unique<qt::QtWindowSystem>(platform_.dosdevices);
    m_ = std::make_unique<Module1>(*ui_, *platform_.files, clock ? *clock : systemClock_);
    m_->snapshotRoot = platform_.snapshotRoot;
    m_->snapshotsUnavailable = !platform_.snapshotRoot;
    m_->findRunningGame = platform_.findRunningGame;
    m_->showsLookOnly = true;
    shelf_ = SearchGames(platform_);
    shelf_.rememberIn = RememberedFolderFile(env);
    shelf_.usePrefix = [this](const std::filesystem::path& prefix) {
        UsePrefix(platform_, prefix);
        ui_->SetDosDevices(platform_.dosdevices);
    };
    ShowFoundGames(*m_, shelf_);
    ui_->eventSink = [this](ControlId control, UiEvent event) {
        return DispatchWindowEvent(run(), control, event);
    };
}

bool Editor::Load() {
    try {
        Form1_Load(run());
        ui_->Flush();
        return true;
    } catch (const ProgramEnd&) {
        return false;
    }
}

int Editor::Run() {
    if (ui_->Ended()) return ui_->ExitCode();
    ui_->ShowForm("Form1");
    // The end of the session runs the exit sequence, with its question about unsaved data.
    QObject::connect(qApp, &QGuiApplication::commitDataRequest, qApp,
                     [this](QSessionManager& session) {
                         (void)ui_->eventSink("Form1", UiEvent::Close);
                         // Cancelled, or the save failed: the unsaved data stays open.
                         if (!ui_->Ended()) session.cancel();
                     });
    const int code = QApplication::exec();
    return ui_->Ended() ? ui_->ExitCode() : code;
}

} // namespace adultify
