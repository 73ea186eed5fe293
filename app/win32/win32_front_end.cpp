#include "app/win32/win32_front_end.h"

#include "app/form1_events.h"
#include "app/startup.h"
#include "game/remembered_folder.h"

namespace adultify {

Win32Editor::Win32Editor(const EnvironmentLookup& env, Clock* clock)
    : platform_(MakePlatform(env)), ui_(std::make_unique<win32::Win32WindowSystem>()) {
    m_ = std::make_unique<Module1>(*ui_, *platform_.files, clock ? *clock : systemClock_);
    m_->snapshotRoot = platform_.snapshotRoot;
    m_->snapshotsUnavailable = !platform_.snapshotRoot;
    m_->findRunningGame = platform_.findRunningGame;
    m_->showsLookOnly = true;
    shelf_ = SearchGames(platform_);
    shelf_.rememberIn = RememberedFolderFile(env);
    shelf_.usePrefix = [this](const std::filesystem::path& prefix) {
        UsePrefix(platform_, prefix);
    };
    ShowFoundGames(*m_, shelf_);
    ui_->eventSink = [this](ControlId control, UiEvent event) {
        return DispatchWindowEvent(run(), control, event);
    };
}

bool Win32Editor::Load() {
    try {
        Form1_Load(run());
        return true;
    } catch (const ProgramEnd&) {
        return false;
    }
}

int Win32Editor::Run() {
    if (ui_->Ended()) return ui_->ExitCode();
    ui_->ShowForm("Form1");
    return ui_->Run();
}

} // namespace adultify
