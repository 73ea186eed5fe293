#include "game/neighbourhood_list.h"

#include "core/utilities.h"
#include "game/neighbourhood_name.h"

namespace adultify {

void FillNeighbourhoodList(Module1& m) {
    m.ui.ListClear("Combo1");
    for (int n = kFirstHood; n <= kLastHood; ++n) {
        if (FileExists(m, HoodFile(m.SimsPath, n)) == kTrue) {
            m.ui.ListAdd("Combo1", HoodEntryText(n));
            m.ui.SetCaption("frmSplash.Label1", "Find Neighbourhoods -" + WithSignPosition(n));
        }
    }
}

} // namespace adultify
