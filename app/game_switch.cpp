#include "app/game_switch.h"

#include "app/found_games.h"
#include "app/startup.h"
#include "game/game_writes.h"
#include "game/neighbourhood_list.h"
#include "game/neighbourhood_name.h"
#include "game/path_dialog.h"
#include "game/save_hood.h"
#include "hood/resident_view.h"

namespace adultify {

void ReadGameAgain(Module1& m) {
    MarkSaved(m);
    m.hood.HoodData.clear();
    m.hood.RecordCount = 0;
    m.hood.UserFileData.clear();
    m.hood.readStamps.clear();
    ClearResidentView(m);
    m.ui.ListClear("List1");
    FillNeighbourhoodList(m);
    ReadFirstNeighbourhood(m);
}

void SwitchToFoundGame(const RunState& run, std::size_t index) {
    Module1& m = run.m;
    if (!SettleUnsavedData(m) || !UseFoundGame(m, run.games, run.platform, index)) return;
    RecoverInterruptedSave(m);
    ReadGameAgain(m);
}

void Form2_Command1_Click(const RunState& run) {
    Module1& m = run.m;
    const std::string folder = ChosenFolder(m);
    if (!CheckGameFolder(m, folder)) return;
    const bool startingUp = m.ui.IsLoaded("frmSplash");
    // The game in use: nothing to read again, and the neighbourhood chosen stays.
    const bool sameGame = folder + "\\" == m.game.SimsPath;
    if (!startingUp && !sameGame && !SettleUnsavedData(m)) return;
    SetGameFolder(m, folder);
    UseChosenFolder(m, run.games);
    m.ui.UnloadForm("Form2");
    if (!startingUp && !sameGame) ReadGameAgain(m);
}

} // namespace adultify
