#include "app/startup.h"

#include "about/about_windows.h"
#include "app/form1_events.h"
#include "core/status_line.h"
#include "core/utilities.h"
#include "game/game_writes.h"
#include "game/neighbourhood_list.h"
#include "game/path_dialog.h"
#include "game/save_hood.h"
#include "hood/resident_layout.h"
#include "hood/resident_view.h"
#include "install/game_location.h"

#include <cmath>

namespace adultify {

namespace {

void ShowNoSimsMessage(Module1& m) {
    (void)m.ui.ShowMessage(
        "The Sims Not Found. Please use the path option to set the path to SIMS.EXE",
        MsgButtons::Ok, MsgIcon::Critical, "No Sims");
}

constexpr int kFaceCount = 5;
constexpr int kSmilingFace = 1, kFrowningFace = 3, kLaughingFace = 4;
} // namespace

void FillCareerNames(Module1& m) {
    m.game.CareerNames = {"Unemployed", "Business", "Entertainment", "Law Enforcement",
                          "Crime",      "Medicine", "Military",      "Politics",
                          "Pro Sports", "Science",  "X-Treme Sports"};
}

bool FindGameFolder(const RunState& run) {
    Module1& m = run.m;
    if (UseFoundGame(m, run.games, run.platform, 0)) return true;
    m.game.SimsPath = std::string(kNotFound);
    ShowNoSimsMessage(m);
    return false;
}

void LocateGame(const RunState& run) {
    Module1& m = run.m;
    if (FindGameFolder(run)) return;
    m.game.SimsPath = std::string(kFallbackSimsPath);
    ShowPathDialog(m);
}

void SelectNeighbourhood(Module1& m, int index) {
    m.ui.ListSelect("Combo1", index);
    ReadChosenNeighbourhood(m);
}

namespace {
// A menu entry's caption as a player reads it: "&Path" is Path.
std::string Shown(ControlId entry) {
    std::string text(entry.Design().caption);
    std::erase(text, '&');
    return text;
}
} // namespace

std::string NoNeighbourhoodText(std::string_view folder) {
    const std::string file = Shown("menu_file");
    return "No neighbourhood was found in the game folder\n" + std::string(folder) +
           "\n\nTo choose another folder, use " + file + ", " + Shown("menu_path") +
           "; another game found is under " + file + ", " + Shown("menu_games") + ".";
}

void ReadFirstNeighbourhood(Module1& m) {
    if (m.ui.ListCount("Combo1") > 0) return SelectNeighbourhood(m, 0);
    // No game at all was said before, with the path dialog.
    if (m.game.SimsPath == kFallbackSimsPath || m.game.SimsPath == kNotFound) return;
    std::string folder = m.game.SimsPath;
    if (folder.size() > 1 && (folder.back() == '\\' || folder.back() == '/')) folder.pop_back();
    (void)m.ui.ShowMessage(NoNeighbourhoodText(folder), MsgButtons::Ok, MsgIcon::Exclamation,
                           "No Neighbourhood");
}

void Form1_Load(const RunState& run) {
    Module1& m = run.m;
    m.ui.LoadForm("frmSplash");
    frmSplash_Load(m);
    m.ui.ShowForm("frmSplash");
    m.random.Seed(m.clock.TimeOfDay());
    m.ui.SetWindowIcon(kSmilingFace);
    m.editing.VersionText = MakeVersionText();
    m.ui.SetCaption("frmSplash.lblVersion", m.editing.VersionText);
    m.ui.DoEvents();
    m.ui.SetCaption("frmSplash.Label1", "Init.");
    m.ui.DoEvents();
    WaitSeconds(m, 1);
    LocateGame(run);
    RecoverInterruptedSave(m);
    m.ui.SetCaption("frmSplash.Label1", "Init...");
    m.ui.DoEvents();
    WaitSeconds(m, 1);
    FillCareerNames(m);
    ClearResidentView(m);
    m.ui.SetCaption("frmSplash.Label1", "Find Neighbourhoods");
    WaitSeconds(m, 1);
    FillNeighbourhoodList(m);
    m.ui.DoEvents();
    ReadFirstNeighbourhood(m);
    SetStatus(m, "Get Residents");
    SetStatus(m, "Idle");
    WaitSeconds(m, 1);
    m.ui.UnloadForm("frmSplash");
}

bool SettleUnsavedData(Module1& m) {
    if (m.editing.UnsavedData != kTrue) return true;
    switch (m.ui.ShowMessage("You have unsaved Data. Would you like to save it now?",
                             MsgButtons::YesNoCancel, MsgIcon::Exclamation,
                             "Unsaved Data Warning")) {
    case MsgAnswer::Yes: return SaveHood(m); // a failure has been reported
    case MsgAnswer::No: return true;
    case MsgAnswer::Ok:
    case MsgAnswer::Cancel: break;
    }
    return false;
}

void ExitSequence(Module1& m) {
    m.ui.SetWindowIcon(kFrowningFace);
    m.ui.DoEvents();
    m.outcomes.notSavedBecause.clear();
    if (!SettleUnsavedData(m)) {
        m.ui.SetWindowIcon(kSmilingFace); // the program goes on
        SetStatus(m, m.outcomes.notSavedBecause.empty()
                         ? "Adultify was not closed; the changes are kept."
                         : NothingSavedText(m.outcomes) + " Adultify was not closed.");
        return;
    }
    EndProgramNow(m, 0);
}

void AboutSequence(Module1& m) {
    m.ui.SetWindowIcon(kLaughingFace);
    m.ui.LoadForm("frmAbout");
    frmAbout_Load(m);
    m.ui.SetCaption("frmAbout.lblVersion", m.editing.VersionText);
    m.ui.ShowModal("frmAbout");
    m.ui.SetWindowIcon(kSmilingFace);
}

void RandomIconChange(Module1& m) {
    constexpr float kOneInAHundred = 0.99f;
    const float r1 = m.random.Next();
    if (!(r1 > kOneInAHundred)) return;
    const float r2 = m.random.Next();
    m.ui.SetWindowIcon(static_cast<int>(std::floor(r2 * static_cast<float>(kFaceCount))));
}

} // namespace adultify
