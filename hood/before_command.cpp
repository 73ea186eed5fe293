#include "hood/before_command.h"

#include "game/game_writes.h"
#include "hood/get_people.h"
#include "hood/resident_view.h"

namespace adultify {

bool StillAsRead(Module1& m, const std::vector<std::string>& files) {
    bool changed = false;
    for (const std::string& file : files) {
        const auto read = m.hood.readStamps.find(file);
        changed = changed || (read != m.hood.readStamps.end() &&
                              m.fs.CompareWithRead(file, read->second) != Change::Same);
    }
    if (!changed) return true;
    const bool edits = m.editing.UnsavedData == kTrue;
    ClearResidentView(m);
    Get_People(m);
    std::string text = "The neighbourhood changed on disk since it was read (the game, or another "
                       "program). It has been read again.";
    if (edits) text += "\nThe changes not saved were made to the old copy; they have been let go.";
    (void)m.ui.ShowMessage(text, MsgButtons::Ok, MsgIcon::Information, "Read Again");
    ++m.outcomes.refusals;
    m.outcomes.notSavedBecause = "the neighbourhood changed on disk since it was read";
    return false;
}

bool ReadyToWrite(Module1& m, const std::vector<std::string>& files) {
    if (!HoldGameForWriting(m) || !StillAsRead(m, files)) return false;
    if (!GameRunningAllows(m, kChangeFilesQuestion)) return false;
    m.editing.askedBeforeWork = true;
    return true;
}

} // namespace adultify
