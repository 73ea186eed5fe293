#include "app/game_switch.h"

#include "app/startup.h"
#include "game/game_writes.h"
#include "game/neighbourhood_list.h"
#include "game/neighbourhood_name.h"
#include "game/path_dialog.h"
#include "game/save_hood.h"

namespace adultify {

bool MayLeaveGame(Module1& m) {
    if (m.UnsavedData != kTrue) return true;
    // Yes/No until the window layer has a Yes/No/Cancel box; Cancel will answer false here.
    const MsgAnswer answer =
        m.ui.ShowMessage("You have unsaved Data. Would you like to save it now?", MsgButtons::YesNo,
                         MsgIcon::Exclamation, "Unsaved Data Warning");
    if (answer == MsgAnswer::Yes) return SaveHood(m);
    MarkSaved(m); // let go
    return true;
}

void ReadGameAgain(Module1& m) {
    MarkSaved(m);
    m.HoodData.clear();
    m.RecordCount = 0;
    m.UserFileData.clear();
    m.readStamps.clear();
    ClearResidentView(m);
    m.ui.ListClear("List1");
    m.ui.ListClear("List2");
    m.ui.SetCaption("Frame2", ControlId("Frame2").Design().caption);
    m.ui.PictureClear("Picture1");
    FillNeighbourhoodList(m);
    ReadFirstNeighbourhood(m);
}

void SwitchToFoundGame(Module1& m, std::size_t index) {
    if (!m.useFoundGame || !MayLeaveGame(m)) return;
    if (!m.useFoundGame(index)) return;
    RecoverInterruptedSave(m);
    ReadGameAgain(m);
}

void Form2_Command1_Click(Module1& m) {
    const std::string folder = m.ui.Caption("Form2.Dir1");
    if (!CheckGameFolder(m, folder)) return;
    const bool startingUp = m.ui.IsLoaded("frmSplash");
    if (!startingUp && !MayLeaveGame(m)) return;
    SetGameFolder(m, folder);
    if (m.gameFolderChosen) m.gameFolderChosen();
    m.ui.UnloadForm("Form2");
    if (!startingUp) ReadGameAgain(m);
}

} // namespace adultify
