#include "app/editor.h"

#include "app/form1_events.h"
#include "app/startup.h"
#include "game/remembered_folder.h"

namespace adultify {

Editor::Editor(WindowSystem& ui, const EnvironmentLookup& env, Clock* clock)
    : ui_(ui), platform_(MakePlatform(env)),
      m_(ui, *platform_.files, clock ? *clock : systemClock_) {
    ui_.SetDosDevices(platform_.dosdevices);
    m_.game.snapshotRoot = platform_.snapshotRoot;
    m_.game.snapshotsUnavailable = !platform_.snapshotRoot;
    m_.findRunningGame = platform_.findRunningGame;
    m_.game.showsLookOnly = true;
    shelf_ = SearchGames(platform_);
    shelf_.rememberIn = RememberedFolderFile(env);
    ShowFoundGames(m_, shelf_);
    ui_.eventSink = [this](ControlId control, UiEvent event) {
        return DispatchWindowEvent(run(), control, event);
    };
}

// The layer may outlive the editor: no event reaches it after.
Editor::~Editor() {
    ui_.eventSink = nullptr;
}

bool Editor::Load() {
    try {
        Form1_Load(run());
        return true;
    } catch (const ProgramEnd&) {
        return false;
    }
}

int Editor::Run() {
    if (ui_.Ended()) return ui_.ExitCode();
    ui_.ShowForm("Form1");
    return ui_.Run();
}

} // namespace adultify
