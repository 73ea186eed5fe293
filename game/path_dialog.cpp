#include "game/path_dialog.h"

#include "core/utilities.h"
#include "game/game_folder_check.h"
#include "game/game_writes.h"
#include "iff/record_text.h"

#include <filesystem>
#include <system_error>

namespace adultify {

void ShowPathDialog(Module1& m) {
    m.ui.LoadForm("Form2");
    std::error_code ec;
    const std::string cwd = PathText(std::filesystem::current_path(ec));
    m.ui.SetCaption("Form2.Dir1", cwd);
    m.ui.SetCaption("Form2.Drive1", cwd);
    m.ui.SetCaption("Form2.File1", cwd);
    m.ui.ShowModal("Form2");
}

std::string ChosenFolder(Module1& m) {
    for (int i = 0; i < m.ui.ListCount("Form2.Dir1"); ++i)
        if (m.ui.ListSelected("Form2.Dir1", i)) return m.ui.ListItem("Form2.Dir1", i);
    return m.ui.Caption("Form2.Dir1");
}

void Form2_Dir1_Change(Module1& m) {
    m.ui.SetCaption("Form2.File1", m.ui.Caption("Form2.Dir1"));
}

void Form2_Drive1_Change(Module1& m) {
    m.ui.SetCaption("Form2.Dir1", m.ui.Caption("Form2.Drive1"));
    Form2_Dir1_Change(m);
}

bool CheckGameFolder(Module1& m, const std::string& folder) {
    const std::string native = m.fs.NativePath(folder);
    const std::string why =
        GameFolderRefusal(std::filesystem::path(std::u8string(native.begin(), native.end())));
    if (why.empty()) return true;
    // The folder and the reason on lines of their own, after the message players know.
    (void)m.ui.ShowMessage("Cannot find SIMS.EXE.\n" + native + "\n" + why, MsgButtons::Ok,
                           MsgIcon::Critical, "Invalid Directory");
    return false;
}

void SetGameFolder(Module1& m, const std::string& folder) {
    const std::string chosen = folder + "\\";
    if (chosen == m.SimsPath) return;
    ReleaseGame(m);
    m.SimsPath = chosen;
    RecoverInterruptedSave(m);
}

bool AcceptGameFolder(Module1& m, const std::string& folder) {
    if (!CheckGameFolder(m, folder)) return false;
    SetGameFolder(m, folder);
    return true;
}

void Form2_Command2_Click(Module1& m) {
    m.ui.UnloadForm("Form2");
}

} // namespace adultify
