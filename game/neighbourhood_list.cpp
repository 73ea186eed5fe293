#include "game/neighbourhood_list.h"

#include "core/utilities.h"
#include "game/game_folder_check.h"
#include "game/neighbourhood_name.h"
#include "iff/record_text.h"
#include "text/path_text.h"

#include <set>

namespace adultify {

namespace {

// A neighbourhood folder that cannot be listed would otherwise just be missing from Combo1.
void ReportUnreadableHoods(Module1& m, const std::set<int>& listed) {
    const std::string native = m.fs.NativePath(m.SimsPath);
    const GameFolderContents contents = ReadGameFolder(TextPath(native));
    for (const UnreadableFolder& f : contents.unreadableHoods)
        if (listed.count(f.hood) == 0)
            (void)m.ui.ShowMessage("This neighbourhood folder cannot be read, so its "
                                   "neighbourhood is not listed.\n" +
                                       PathText(f.folder) + "\n" + f.reason,
                                   MsgButtons::Ok, MsgIcon::Critical, "Read Failed");
}

} // namespace

void FillNeighbourhoodList(Module1& m) {
    m.ui.ListClear("Combo1");
    std::set<int> listed;
    for (int n = kFirstHood; n <= kLastHood; ++n) {
        // Any entry of the name: one that is no regular file (a pipe, a folder, a link loop) is
        // listed and refused when it is chosen, so that it does not vanish unexplained.
        if (m.fs.EntryExists(HoodFile(m.SimsPath, n))) {
            m.ui.ListAdd("Combo1", HoodEntryText(n));
            m.ui.SetCaption("frmSplash.Label1", "Find Neighbourhoods -" + WithSignPosition(n));
            listed.insert(n);
        }
    }
    ReportUnreadableHoods(m, listed);
}

} // namespace adultify
