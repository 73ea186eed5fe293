#include "app/form1_events.h"

#include "about/about_windows.h"
#include "ageing/adultify.h"
#include "ageing/skill_editor.h"
#include "app/children_window.h"
#include "app/game_switch.h"
#include "app/snapshot_window.h"
#include "app/startup.h"
#include "characters/body_strings.h"
#include "characters/thumbnail_fix.h"
#include "game/game_writes.h"
#include "game/path_dialog.h"
#include "game/save_hood.h"
#include "hood/get_people.h"
#include "hood/resident_view.h"

#include <exception>
#include <span>
#include <string>

namespace adultify {

namespace {
int ChosenEntry(Module1& m) {
    return FirstSelected(m.ui, "Combo1");
}

int EntryIndex(Module1& m, std::string_view entry) {
    for (int i = 0; i < m.ui.ListCount("Combo1"); ++i)
        if (m.ui.ListItem("Combo1", i) == entry) return i;
    return -1;
}
} // namespace

void ReadChosenNeighbourhood(Module1& m) {
    ClearResidentView(m);
    Get_People(m);
    m.ui.SetEnabled("menu_fix_thumbnails", false);
}

void Combo1_Click(Module1& m) {
    if (m.ui.Caption("Combo1") == m.hood.hoodEntryRead && m.game.SimsPath == m.hood.hoodFolderRead)
        return;
    if (m.editing.UnsavedData == kTrue) {
        const int picked = ChosenEntry(m);
        // The edits are of the neighbourhood read: the save derives its paths from Combo1.
        m.ui.ListSelect("Combo1", EntryIndex(m, m.hood.hoodEntryRead));
        if (!SettleUnsavedData(m)) return;
        m.ui.ListSelect("Combo1", picked);
    }
    ReadChosenNeighbourhood(m);
}

void ShowUnexpectedFault(Module1& m, std::string_view what) {
    (void)m.ui.ShowMessage("The program met a fault it did not expect:\n" + std::string(what) +
                               "\nNothing more was done. Your unsaved changes are kept.",
                           MsgButtons::Ok, MsgIcon::Critical, "Unexpected Fault");
}

namespace {

struct CommandScope {
    explicit CommandScope(Module1& m)
        : flag(m.editing.commandRunning), asked(m.editing.askedBeforeWork) {
        flag = true;
    }
    ~CommandScope() { flag = asked = false; }
    bool& flag;
    bool& asked; // the questions a command asked hold for it alone
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;
};

// A click whose handler needs the program's state alone.
struct ClickRoute {
    ControlId control;
    void (*handler)(Module1& m);
};

constexpr ClickRoute kMainWindowClicks[] = {
    {"Combo1", Combo1_Click},
    {"List1", List1_Click},
    {"List2", List2_Click},
    {"Command1", Adultify_Command1_Click},
    {"menu_path", ShowPathDialog},
    {"menu_snapshots", ShowSnapshotWindow},
    {"menu_children", ShowChildrenWindow},
    {"menu_exit", ExitSequence},
    {"menu_Save", [](Module1& m) { (void)SaveHood(m); }},
    {"menu_iff", menu_iff_Click},
    {"menu_personality",
     [](Module1& m) { m.ui.SetChecked("menu_personality", !m.ui.IsChecked("menu_personality")); }},
    {"menu_fix_thumbnails", menu_fix_thumbnails_Click},
    {"menu_about", AboutSequence},
};

constexpr ClickRoute kOtherWindowClicks[] = {
    {"Form2.Command2", Form2_Command2_Click},
    {"Form2.Command3", Form2_Command3_Click},
    {"Form3.Command1", Form3_Command1_Click},
    {"Form3.Command2", Form3_Command2_Click},
    {"frmAbout.cmdOK", frmAbout_cmdOK_Click},
    {"frmAbout.Label11", frmAbout_Label11_Click},
    {"frmSnapshots.List1", frmSnapshots_List1_Click},
    {"frmSnapshots.cmdRestore", frmSnapshots_cmdRestore_Click},
    {"frmSnapshots.cmdClose", frmSnapshots_cmdClose_Click},
    {"frmChildren.List1", frmChildren_List1_Click},
    {"frmChildren.cmdMark", frmChildren_cmdMark_Click},
    {"frmChildren.cmdOpen", frmChildren_cmdOpen_Click},
    {"frmChildren.cmdGrowUp", frmChildren_cmdGrowUp_Click},
    {"frmChildren.cmdCancel", frmChildren_cmdCancel_Click},
    {"frmChildren.cmdClose", frmChildren_cmdClose_Click},
};

bool RouteClick(std::span<const ClickRoute> routes, Module1& m, ControlId c) {
    for (const ClickRoute& route : routes)
        if (route.control == c) return route.handler(m), true;
    return false;
}

bool Form1Click(const RunState& run, ControlId c) {
    for (std::size_t i = 0; i < kGameEntries.size(); ++i)
        if (c == kGameEntries[i]) return SwitchToFoundGame(run, i), true;
    if (const SkillRow* row = SkillRowOf(c)) return SkillLabel_Click(run.m, *row), true;
    return RouteClick(kMainWindowClicks, run.m, c);
}

bool Form1Event(const RunState& run, ControlId c, UiEvent e) {
    Module1& m = run.m;
    if (e == UiEvent::Click) return Form1Click(run, c);
    if (e == UiEvent::MouseMove && (c == "Frame1" || c == "Frame3"))
        return RandomIconChange(m), true;
    if (e == UiEvent::Close && c == "Form1") return ExitSequence(m), true;
    return false;
}

bool OtherWindowClick(const RunState& run, ControlId c) {
    if (c == "Form2.Command1") return Form2_Command1_Click(run), true;
    if (c == "frmChildren.lblHood" || c == "frmChildren.lblFamily" || c == "frmChildren.lblName")
        return frmChildren_Sort_Click(run.m, c), true;
    return RouteClick(kOtherWindowClicks, run.m, c);
}

bool OtherWindowEvent(const RunState& run, ControlId c, UiEvent e) {
    Module1& m = run.m;
    switch (e) {
    case UiEvent::Click: return OtherWindowClick(run, c);
    case UiEvent::Change:
        if (c == "Form2.Dir1") return Form2_Dir1_Change(m), true;
        if (c == "Form2.Drive1") return Form2_Drive1_Change(m), true;
        if (c == "Form3.HScroll1") return HScroll1_Change(m), true;
        return false;
    case UiEvent::MouseMove:
        if (c == "frmAbout.Label11") return frmAbout_Label11_MouseMove(m), true;
        if (c == "frmAbout" || c == "frmAbout.Label10") return frmAbout_MouseMove(m), true;
        return false;
    case UiEvent::KeyPress:
        if (c == "frmSplash") return frmSplash_KeyPress(m), true;
        return false;
    case UiEvent::Close:
        // Closing a dialog through its close box acts as its Cancel.
        if (c == "frmChildren") return frmChildren_cmdClose_Click(m), true;
        if (c.IsWindow()) return m.ui.UnloadForm(c.Form()), true;
        return false;
    }
    return false;
}

bool Dispatch(const RunState& run, ControlId control, UiEvent event) {
    Module1& m = run.m;
    if (!control.Reports(event)) return false;
    if (control.Form() != FormId("Form1")) return OtherWindowEvent(run, control, event);
    if (m.editing.commandRunning) return false;
    if (!control.IsWindow() && !m.ui.IsEnabled(control)) return false;
    CommandScope running(m);
    // A look-only editor takes the game as soon as the other one has let it go.
    if (event == UiEvent::Click && RetakeGame(m) && SelectedResident(m) >= 0)
        Display_user_Details(m);
    return Form1Event(run, control, event);
}

} // namespace

bool DispatchEvent(const RunState& run, ControlId control, UiEvent event) {
    try {
        return Dispatch(run, control, event);
    } catch (const ProgramEnd&) {
        throw;
    } catch (const std::exception& fault) {
        ShowUnexpectedFault(run.m, fault.what());
        return true;
    }
}

bool DispatchWindowEvent(const RunState& run, ControlId control, UiEvent event) {
    try {
        return DispatchEvent(run, control, event);
    } catch (const ProgramEnd&) {
        return true;
    }
}

} // namespace adultify
