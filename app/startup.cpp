#include "app/startup.h"

#include "about/about_windows.h"
#include "app/form1_events.h"
#include "app/status_line.h"
#include "app/utilities.h"
#include "game/game_location.h"
#include "game/neighbourhood_list.h"
#include "game/path_dialog.h"
#include "game/save_hood.h"

#include <cmath>

namespace adultify {

void FillCareerNames(Module1& m) {
    m.CareerNames = {"Unemployed", "Business", "Entertainment", "Law Enforcement",
                     "Crime",      "Medicine", "Military",      "Politics",
                     "Pro Sports", "Science",  "X-Treme Sports"};
}

void LocateGame(Module1& m, Registry& registry) {
    m.SimsPath = GetSimsPath(registry);
    if (m.SimsPath == kNotFound) {
        (void)m.ui.MessageBox(
            "The Sims Not Found. Please use the path option to set the path to SIMS.EXE",
            MsgButtons::Ok, MsgIcon::Critical, "No Sims");
        m.SimsPath = std::string(kFallbackSimsPath);
        ShowPathDialog(m);
    }
}

void Form1_Load(Module1& m, Registry& registry) {
    m.ui.LoadForm("frmSplash");
    frmSplash_Load(m);
    m.ui.ShowForm("frmSplash");
    m.ui.SeedRandom(m.ui.TimeOfDay());
    m.ui.SetWindowIcon(1);
    m.VersionText = MakeVersionText();
    m.ui.SetCaption("frmSplash.lblVersion", m.VersionText);
    m.ui.Yield();
    m.ui.SetCaption("frmSplash.Label1", "Init.");
    m.ui.Yield();
    WaitSeconds(m, 1);
    LocateGame(m, registry);
    m.ui.SetCaption("frmSplash.Label1", "Init...");
    m.ui.Yield();
    WaitSeconds(m, 1);
    FillCareerNames(m);
    m.ui.SetEnabled("Command1", false);
    for (const char* label : {"Label7", "Label8", "Label9", "Label10", "Label11", "Label18",
                              "Label19", "Label20", "Label21", "Label22", "Label23"})
        m.ui.SetCaption(label, "");
    m.ui.SetEnabled("menu_fix_thumbnails", false);
    m.ui.SetCaption("frmSplash.Label1", "Find Neighbourhoods");
    WaitSeconds(m, 1);
    FillNeighbourhoodList(m);
    m.ui.Yield();
    // With no neighbourhood there is nothing to select and nothing to read.
    if (m.ui.ListCount("Combo1") > 0) {
        m.ui.ListSelect("Combo1", 0);
        Combo1_Click(m);
    }
    SetStatus(m, "Get Residents");
    SetStatus(m, "Idle");
    WaitSeconds(m, 1);
    m.ui.UnloadForm("frmSplash");
}

void ExitSequence(Module1& m) {
    m.ui.SetWindowIcon(3);
    m.ui.Yield();
    if (m.UnsavedData == kTrue &&
        m.ui.MessageBox("You have unsaved Data. Would you like to save it now?", MsgButtons::YesNo,
                        MsgIcon::Exclamation, "Unsaved Data Warning") == MsgAnswer::Yes)
        (void)SaveHood(m);
    EndProgramNow(m, 0);
}

void AboutSequence(Module1& m) {
    m.ui.SetWindowIcon(4);
    m.ui.LoadForm("frmAbout");
    frmAbout_Load(m);
    m.ui.SetCaption("frmAbout.lblVersion", m.VersionText);
    m.ui.ShowModal("frmAbout");
    m.ui.SetWindowIcon(1);
}

void RandomIconChange(Module1& m) {
    const float r1 = m.ui.Random();
    if (!(r1 > 0.99f)) return;
    const float r2 = m.ui.Random();
    m.ui.SetWindowIcon(static_cast<int>(std::floor(r2 * 5.0f)));
}

} // namespace adultify
