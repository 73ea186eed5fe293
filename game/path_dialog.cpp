#include "game/path_dialog.h"

#include "core/utilities.h"
#include "game/game_writes.h"
#include "game/neighbourhood_name.h"

#include <filesystem>
#include <system_error>

namespace adultify {

void ShowPathDialog(Module1& m) {
    m.ui.LoadForm("Form2");
    std::error_code ec;
    const std::string cwd = std::filesystem::current_path(ec).string();
    m.ui.SetCaption("Form2.Dir1", cwd);
    m.ui.SetCaption("Form2.File1", cwd);
    m.ui.ShowModal("Form2");
}

void Form2_Dir1_Change(Module1& m) {
    m.ui.SetCaption("Form2.File1", m.ui.Caption("Form2.Dir1"));
}

void Form2_Drive1_Change(Module1& m) {
    m.ui.SetCaption("Form2.Dir1", m.ui.Caption("Form2.Drive1"));
    Form2_Dir1_Change(m);
}

bool AcceptGameFolder(Module1& m, const std::string& folder) {
    if (FileExists(m, folder + "\\" + "Sims.exe") != kTrue) {
        (void)m.ui.ShowMessage("Cannot find SIMS.EXE.", MsgButtons::Ok, MsgIcon::Critical,
                               "Invalid Directory");
        return false;
    }
    const std::string chosen = folder + "\\";
    if (chosen != m.SimsPath) {
        ReleaseGame(m);
        m.SimsPath = chosen;
        RecoverInterruptedSave(m);
    }
    return true;
}

void Form2_Command1_Click(Module1& m) {
    if (!AcceptGameFolder(m, m.ui.Caption("Form2.Dir1"))) return;
    if (m.ui.Caption("Combo1").empty())
        return; // at start-up: the dialog stays open until cancelled
    // The chosen neighbourhood's Characters folder under the new game folder; when it is
    // not there, the game folder is accepted all the same.
    std::string characters = CharactersFolder(m.SimsPath, ChosenHood(m));
    characters.pop_back();
    if (m.fs.IsDirectory(characters)) m.ui.SetCaption("Form2.File1", characters);
    m.ui.UnloadForm("Form2");
}

void Form2_Command2_Click(Module1& m) {
    m.ui.UnloadForm("Form2");
}

} // namespace adultify
