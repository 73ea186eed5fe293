#include "game/neighbourhood_list.h"

#include "core/utilities.h"
#include "game/neighbourhood_name.h"

namespace adultify {

void FillNeighbourhoodList(Module1& m) {
    m.ui.ListClear("Combo1");
    for (int n = kFirstHood; n <= kLastHood; ++n) {
        // Any entry of the name: one that is no regular file (a pipe, a folder, a link loop) is
        // listed and refused when it is chosen, so that it does not vanish unexplained.
        if (m.fs.EntryExists(HoodFile(m.SimsPath, n))) {
            m.ui.ListAdd("Combo1", HoodEntryText(n));
            m.ui.SetCaption("frmSplash.Label1", "Find Neighbourhoods -" + WithSignPosition(n));
        }
    }
}

} // namespace adultify
