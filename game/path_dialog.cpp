#include "game/path_dialog.h"

#include "core/utilities.h"
#include "files/record_text.h"
#include "game/game_writes.h"
#include "install/game_folder_check.h"
#include "text/path_text.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace adultify {

namespace {
bool IsFolder(const std::string& utf8) {
    std::error_code ec;
    return !utf8.empty() && std::filesystem::is_directory(TextPath(utf8), ec);
}
} // namespace

std::string StartFolder(Module1& m, const EnvironmentLookup& env) {
    if (!m.game.SimsPath.empty()) {
        std::string game = m.fs.NativePath(m.game.SimsPath);
        // "/" and "C:\" keep their separator; any other folder is named without one.
        while (game.size() > 1 && (game.back() == '/' || game.back() == '\\') &&
               game[game.size() - 2] != ':')
            game.pop_back();
        if (IsFolder(game)) return game;
    }
    for (const char* name : {"HOME", "USERPROFILE"})
        if (const char* home = env(name); home && IsFolder(home)) return home;
    std::error_code ec;
    return PathText(std::filesystem::current_path(ec));
}

void ShowPathDialog(Module1& m) {
    m.ui.LoadForm("Form2");
    const std::string start = StartFolder(m, [](const char* name) { return std::getenv(name); });
    m.ui.SetCaption("Form2.Dir1", start);
    m.ui.SetCaption("Form2.Drive1", start);
    m.ui.SetCaption("Form2.File1", start);
    m.ui.ShowModal("Form2");
}

std::string ChosenFolder(Module1& m) {
    const int line = FirstSelected(m.ui, "Form2.Dir1");
    return line >= 0 ? m.ui.ListItem("Form2.Dir1", line) : m.ui.Caption("Form2.Dir1");
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
    const std::string why = GameFolderRefusal(TextPath(native));
    if (why.empty()) return true;
    // The folder and the reason on lines of their own, after the message players know.
    (void)m.ui.ShowMessage("Cannot find SIMS.EXE.\n" + native + "\n" + why, MsgButtons::Ok,
                           MsgIcon::Critical, "Invalid Directory");
    return false;
}

void SetGameFolder(Module1& m, const std::string& folder) {
    const std::string chosen = folder + "\\";
    if (chosen == m.game.SimsPath) return;
    ReleaseGame(m);
    m.game.SimsPath = chosen;
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

void Form2_Command3_Click(Module1& m) {
    const std::optional<std::string> folder =
        m.ui.ChooseFolder("Form2", m.ui.Caption("Form2.Dir1"));
    if (!folder || !m.ui.IsLoaded("Form2")) return;
    m.ui.SetCaption("Form2.Dir1", *folder);
    m.ui.SetCaption("Form2.Drive1", *folder);
    Form2_Dir1_Change(m);
}

} // namespace adultify
