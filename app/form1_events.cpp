#include "app/form1_events.h"

#include "about/about_windows.h"
#include "ageing/adultify.h"
#include "ageing/skill_editor.h"
#include "app/startup.h"
#include "game/path_dialog.h"
#include "game/save_hood.h"
#include "hood/get_people.h"
#include "hood/resident_view.h"
#include "tools/body_strings.h"
#include "tools/thumbnail_fix.h"
#include "ui/form_design.h"

namespace adultify {

void Combo1_Click(Module1& m) {
    Get_People(m);
    m.ui.SetEnabled("menu_fix_thumbnails", false);
}

namespace {

struct CommandScope {
    explicit CommandScope(Module1& m) : flag(m.commandRunning) { flag = true; }
    ~CommandScope() { flag = false; }
    bool& flag;
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;
};

bool Form1Event(Module1& m, std::string_view c, UiEvent e) {
    using E = UiEvent;
    if (e == E::Click) {
        if (c == "Combo1") return Combo1_Click(m), true;
        if (c == "List1") return List1_Click(m), true;
        if (c == "List2") return List2_Click(m), true;
        if (c == "Command1") return Adultify_Command1_Click(m), true;
        if (c == "menu_path") return ShowPathDialog(m), true;
        if (c == "menu_exit") ExitSequence(m);
        if (c == "menu_Save") return (void)SaveHood(m), true;
        if (c == "menu_iff") return menu_iff_Click(m), true;
        if (c == "menu_personality") return m.ui.SetChecked(c, !m.ui.IsChecked(c)), true;
        if (c == "menu_fix_thumbnails") return menu_fix_thumbnails_Click(m), true;
        if (c == "menu_about") return AboutSequence(m), true;
        if (const SkillRow* row = SkillRowOf(c)) return SkillLabel_Click(m, *row), true;
    }
    if (e == E::MouseMove && (c == "Frame1" || c == "Frame3")) return RandomIconChange(m), true;
    if (e == E::Close && c == "Form1") ExitSequence(m);
    return false;
}

bool OtherWindowEvent(Module1& m, std::string_view c, UiEvent e) {
    using E = UiEvent;
    if (e == E::Click) {
        if (c == "Form2.Command1") return Form2_Command1_Click(m), true;
        if (c == "Form2.Command2") return Form2_Command2_Click(m), true;
        if (c == "Form3.Command1") return Form3_Command1_Click(m), true;
        if (c == "Form3.Command2") return Form3_Command2_Click(m), true;
        if (c == "frmAbout.cmdOK") return frmAbout_cmdOK_Click(m), true;
        if (c == "frmAbout.Label11") return frmAbout_Label11_Click(m), true;
    }
    if (e == E::Change) {
        if (c == "Form2.Dir1") return Form2_Dir1_Change(m), true;
        if (c == "Form2.Drive1") return Form2_Drive1_Change(m), true;
        if (c == "Form3.HScroll1") return HScroll1_Change(m), true;
    }
    if (e == E::MouseMove) {
        if (c == "frmAbout.Label11") return frmAbout_Label11_MouseMove(m), true;
        if (c == "frmAbout" || c == "frmAbout.Label10") return frmAbout_MouseMove(m), true;
    }
    if (e == E::KeyPress && c == "frmSplash") return frmSplash_KeyPress(m), true;
    // Closing a dialog through its close box acts as its Cancel.
    if (e == E::Close) {
        if (c == "Form2" || c == "Form3" || c == "frmAbout" || c == "frmSplash")
            return m.ui.UnloadForm(c), true;
    }
    return false;
}

} // namespace

bool DispatchEvent(Module1& m, std::string_view control, UiEvent event) {
    if (FormOfControl(control) != "Form1") return OtherWindowEvent(m, control, event);
    if (m.commandRunning) return false;
    if (control != "Form1" && !m.ui.IsEnabled(control)) return false;
    CommandScope running(m);
    return Form1Event(m, control, event);
}

} // namespace adultify
