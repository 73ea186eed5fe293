#include "game/neighbourhood_list.h"

#include "app/utilities.h"
#include "game/neighbourhood_name.h"

namespace adultify {

void FillNeighbourhoodList(Module1& m) {
    m.ui.ListClear("Combo1");
    for (int n = 1; n <= 99; ++n) {
        const std::string candidate = m.SimsPath + HoodFolder(n) + "\\Neighborhood.iff";
        if (FileExists(m, candidate) == kTrue) {
            m.ui.ListAdd("Combo1", HoodEntryText(n));
            m.ui.SetCaption("frmSplash.Label1", "Find Neighbourhoods -" + WithSignPosition(n));
        }
    }
}

} // namespace adultify
