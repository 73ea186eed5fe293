#include "game/neighbourhood_list.h"

#include "core/utilities.h"
#include "files/record_text.h"
#include "game/neighbourhood_name.h"
#include "install/game_folder_check.h"
#include "text/path_text.h"

#include <algorithm>
#include <set>

namespace adultify {

namespace {

// A neighbourhood folder that cannot be listed would otherwise just be missing from Combo1.
void ReportUnreadableHoods(Module1& m, const std::set<int>& listed) {
    const std::string native = m.fs.NativePath(m.game.SimsPath);
    const GameFolderContents contents = ReadGameFolder(TextPath(native));
    for (const UnreadableFolder& f : contents.unreadableHoods)
        if (listed.count(f.hood) == 0)
            (void)m.ui.ShowMessage("This neighbourhood folder cannot be read, so its "
                                   "neighbourhood is not listed.\n" +
                                       PathText(f.folder) + "\n" + f.reason,
                                   MsgButtons::Ok, MsgIcon::Critical, "Read Failed");
}

// The neighbourhood folders the game folder lists; none when it cannot be listed.
std::set<int> ListedHoodFolders(const std::vector<std::string>& names) {
    std::set<int> folders;
    for (const std::string& name : names)
        if (const int n = HoodOfFolderName(name); n != 0) folders.insert(n);
    return folders;
}

bool AddIfPresent(Module1& m, int n) {
    if (!m.fs.EntryExists(HoodFile(m.game.SimsPath, n))) return false;
    m.ui.ListAdd("Combo1", HoodEntryText(n));
    return true;
}

} // namespace

void FillNeighbourhoodList(Module1& m) {
    m.ui.ListClear("Combo1");
    std::set<int> listed;
    // The game folder listed once, so that a neighbourhood that is not there costs no look at
    // the disk; a folder that cannot be listed has each name looked up instead.
    const std::vector<std::string> names = m.fs.List(m.game.SimsPath);
    const std::set<int> folders = ListedHoodFolders(names);
    for (int n = kFirstHood; n <= kLastHood; ++n) {
        if (!names.empty() && folders.count(n) == 0) continue;
        // Any entry of the name: one that is no regular file (a pipe, a folder, a link loop) is
        // listed and refused when it is chosen, so that it does not vanish unexplained.
        if (m.fs.EntryExists(HoodFile(m.game.SimsPath, n))) {
            m.ui.ListAdd("Combo1", HoodEntryText(n));
            m.ui.SetCaption("frmSplash.Label1", "Find Neighbourhoods -" + WithSignPosition(n));
            listed.insert(n);
        }
    }
    // Each neighbourhood folder of the listing was listed: none can have gone unread.
    if (names.empty() ||
        !std::includes(listed.begin(), listed.end(), folders.begin(), folders.end()))
        ReportUnreadableHoods(m, listed);
}

bool ListOneNeighbourhood(Module1& m, std::optional<int> hood) {
    m.ui.ListClear("Combo1");
    if (hood) return AddIfPresent(m, *hood);
    // UserData's is the first whenever it is there: the game folder need not be listed.
    if (AddIfPresent(m, kFirstHood)) return true;
    const std::vector<std::string> names = m.fs.List(m.game.SimsPath);
    const std::set<int> folders = ListedHoodFolders(names);
    for (int n = kFirstHood + 1; n <= kLastHood; ++n)
        if ((names.empty() || folders.count(n) != 0) && AddIfPresent(m, n)) return true;
    return false;
}

} // namespace adultify
