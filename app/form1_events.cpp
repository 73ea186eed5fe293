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
    if (m.ui.Caption("Combo1") == m.hoodEntryRead && m.SimsPath == m.hoodFolderRead) return;
    if (m.UnsavedData == kTrue) {
        const int picked = ChosenEntry(m);
        // The edits are of the neighbourhood read: the save derives its paths from Combo1.
        m.ui.ListSelect("Combo1", EntryIndex(m, m.hoodEntryRead));
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
    explicit CommandScope(Module1& m) : flag(m.commandRunning), asked(m.askedBeforeWork) {
        flag = true;
    }
    ~CommandScope() { flag = asked = false; }
    bool& flag;
    bool& asked; // the questions a command asked hold for it alone
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;
};

bool Form1Click(RunState run, ControlId c) {
    Module1& m = run.m;
    if (c == "Combo1") return Combo1_Click(m), true;
    if (c == "List1") return List1_Click(m), true;
    if (c == "List2") return List2_Click(m), true;
    if (c == "Command1") return Adultify_Command1_Click(m), true;
    if (c == "menu_path") return ShowPathDialog(m), true;
    if (c == "menu_snapshots") return ShowSnapshotWindow(m), true;
    if (c == "menu_children") return ShowChildrenWindow(m), true;
    for (std::size_t i = 0; i < kGameEntries.size(); ++i)
        if (c == kGameEntries[i]) return SwitchToFoundGame(run, i), true;
    if (c == "menu_exit") return ExitSequence(m), true;
    if (c == "menu_Save") return (void)SaveHood(m), true;
    if (c == "menu_iff") return menu_iff_Click(m), true;
    if (c == "menu_personality") return m.ui.SetChecked(c, !m.ui.IsChecked(c)), true;
    if (c == "menu_fix_thumbnails") return menu_fix_thumbnails_Click(m), true;
    if (c == "menu_about") return AboutSequence(m), true;
    if (const SkillRow* row = SkillRowOf(c)) return SkillLabel_Click(m, *row), true;
    return false;
}

bool Form1Event(RunState run, ControlId c, UiEvent e) {
    Module1& m = run.m;
    if (e == UiEvent::Click) return Form1Click(run, c);
    if (e == UiEvent::MouseMove && (c == "Frame1" || c == "Frame3"))
        return RandomIconChange(m), true;
    if (e == UiEvent::Close && c == "Form1") return ExitSequence(m), true;
    return false;
}

bool ChildrenWindowClick(Module1& m, ControlId c) {
    if (c == "frmChildren.List1") return frmChildren_List1_Click(m), true;
    if (c == "frmChildren.lblHood" || c == "frmChildren.lblFamily" || c == "frmChildren.lblName")
        return frmChildren_Sort_Click(m, c), true;
    if (c == "frmChildren.cmdMark") return frmChildren_cmdMark_Click(m), true;
    if (c == "frmChildren.cmdOpen") return frmChildren_cmdOpen_Click(m), true;
    if (c == "frmChildren.cmdGrowUp") return frmChildren_cmdGrowUp_Click(m), true;
    if (c == "frmChildren.cmdCancel") return frmChildren_cmdCancel_Click(m), true;
    if (c == "frmChildren.cmdClose") return frmChildren_cmdClose_Click(m), true;
    return false;
}

bool OtherWindowClick(RunState run, ControlId c) {
    Module1& m = run.m;
    if (c == "Form2.Command1") return Form2_Command1_Click(run), true;
    if (c == "Form2.Command2") return Form2_Command2_Click(m), true;
    if (c == "Form2.Command3") return Form2_Command3_Click(m), true;
    if (c == "Form3.Command1") return Form3_Command1_Click(m), true;
    if (c == "Form3.Command2") return Form3_Command2_Click(m), true;
    if (c == "frmAbout.cmdOK") return frmAbout_cmdOK_Click(m), true;
    if (c == "frmAbout.Label11") return frmAbout_Label11_Click(m), true;
    if (c == "frmSnapshots.List1") return frmSnapshots_List1_Click(m), true;
    if (c == "frmSnapshots.cmdRestore") return frmSnapshots_cmdRestore_Click(m), true;
    if (c == "frmSnapshots.cmdClose") return frmSnapshots_cmdClose_Click(m), true;
    return ChildrenWindowClick(m, c);
}

bool OtherWindowEvent(RunState run, ControlId c, UiEvent e) {
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

bool Dispatch(RunState run, ControlId control, UiEvent event) {
    Module1& m = run.m;
    if (!control.Reports(event)) return false;
    if (control.Form() != FormId("Form1")) return OtherWindowEvent(run, control, event);
    if (m.commandRunning) return false;
    if (!control.IsWindow() && !m.ui.IsEnabled(control)) return false;
    CommandScope running(m);
    // A look-only editor takes the game as soon as the other one has let it go.
    if (event == UiEvent::Click && RetakeGame(m) && SelectedResident(m) >= 0)
        Display_user_Details(m);
    return Form1Event(run, control, event);
}

} // namespace

bool DispatchEvent(RunState run, ControlId control, UiEvent event) {
    try {
        return Dispatch(run, control, event);
    } catch (const ProgramEnd&) {
        throw;
    } catch (const std::exception& fault) {
        ShowUnexpectedFault(run.m, fault.what());
        return true;
    }
}

bool DispatchWindowEvent(RunState run, ControlId control, UiEvent event) {
    try {
        return DispatchEvent(run, control, event);
    } catch (const ProgramEnd&) {
        return true;
    }
}

} // namespace adultify
