#include "app/snapshot_window.h"

#include "app/form1_events.h"
#include "core/reports.h"
#include "game/game_writes.h"
#include "game/neighbourhood_name.h"
#include "game/save_hood.h"
#include "game/snapshots.h"
#include "hood/resident_view.h"

#include <string>
#include <string_view>
#include <utility>

namespace adultify {

namespace {

constexpr std::string_view kTitle = "Restore Snapshot";

// "2026-12-07T02:15:30.123+01:00" as "2026-12-07 02:15"; the list's order tells apart two of
// one minute.
std::string ReadableTime(const std::string& iso) {
    if (iso.size() < 16 || iso[10] != 'T') return iso;
    return iso.substr(0, 10) + " " + iso.substr(11, 5);
}

// What wrote, in a player's words; a command of another version as it was recorded.
std::string ActionOf(const SnapshotInfo& s) {
    static constexpr std::pair<std::string_view, std::string_view> kActions[] = {
        {"adultify", "Adultify"},
        {"fix-thumbnails", "Fix thumbnails"},
        {"save", "Save"},
        {"restore", "Restore"},
    };
    for (const auto& [command, words] : kActions)
        if (s.command == command) return std::string(words);
    return s.command;
}

// "2026-12-07 12:04  Adultify  Renée Newbie".
std::string LineOf(const SnapshotInfo& s) {
    std::string line = ReadableTime(s.time) + "  " + ActionOf(s);
    if (!s.name.empty()) line += "  " + s.name;
    return line;
}

void FillList(Module1& m) {
    m.ui.ListClear("frmSnapshots.List1");
    m.editing.listedSnapshots.clear();
    if (m.game.snapshotRoot)
        for (const SnapshotInfo& s :
             ListSnapshots(*m.game.snapshotRoot, NativeFile(m, m.game.SimsPath), ChosenHood(m))) {
            m.ui.ListAdd("frmSnapshots.List1", LineOf(s));
            m.editing.listedSnapshots.push_back(s.id);
        }
    if (!m.editing.listedSnapshots.empty()) return;
    // A line that cannot be selected, so that Restore stays disabled.
    m.ui.ListAdd("frmSnapshots.List1",
                 m.game.snapshotRoot ? "No snapshots yet."
                                     : "No snapshots are kept: no folder for them could be named.");
    m.ui.SetEnabled("frmSnapshots.List1", false);
}

// The id of the selected line; empty when none is.
std::string SelectedSnapshot(Module1& m) {
    const int line = FirstSelected(m.ui, "frmSnapshots.List1");
    if (line < 0 || line >= static_cast<int>(m.editing.listedSnapshots.size())) return {};
    return m.editing.listedSnapshots[static_cast<std::size_t>(line)];
}

bool UserAgrees(Module1& m, const SnapshotInfo& s) {
    std::string question = "Put back the files as they were at " + ReadableTime(s.time) +
                           ", before " + ActionOf(s) + (s.name.empty() ? "" : " of " + s.name) +
                           "? The current files are kept as a snapshot first.";
    // The neighbourhood is read again after the restore.
    if (m.editing.UnsavedData == kTrue) question += "\nYour unsaved changes will be lost.";
    return m.ui.ShowMessage(question, MsgButtons::YesNoDefaultNo, MsgIcon::Question, kTitle) ==
           MsgAnswer::Yes;
}

// What was in memory described the files before the restore: the neighbourhood is read again
// and the resident who was shown is shown again, as restored.
void ReadHoodAgain(Module1& m) {
    const int resident = SelectedResident(m);
    MarkSaved(m);
    ReadChosenNeighbourhood(m);
    if (resident < 0 || resident >= m.ui.ListCount("List1")) return;
    m.ui.ListSelect("List1", resident);
    List1_Click(m);
}

} // namespace

void ShowSnapshotWindow(Module1& m) {
    m.ui.LoadForm("frmSnapshots");
    m.ui.SetCaption("frmSnapshots", "Snapshots of " + HoodEntryText(ChosenHood(m)));
    FillList(m);
    m.ui.ShowModal("frmSnapshots");
    m.editing.listedSnapshots.clear();
}

void frmSnapshots_List1_Click(Module1& m) {
    m.ui.SetEnabled("frmSnapshots.cmdRestore", !SelectedSnapshot(m).empty());
}

void frmSnapshots_cmdRestore_Click(Module1& m) {
    const std::string id = SelectedSnapshot(m);
    if (id.empty() || !m.game.snapshotRoot) return;
    const auto found = FindSnapshot(*m.game.snapshotRoot, id);
    if (!found) {
        ReportFileError(m, "The snapshot was not restored. Nothing has been changed.",
                        found.error());
        return;
    }
    if (!UserAgrees(m, found.value()) || !RestoreFromSnapshot(m, id)) return;
    ReadHoodAgain(m);
    m.ui.UnloadForm("frmSnapshots");
    (void)m.ui.ShowMessage("Restored. The files replaced are kept as the newest snapshot, so "
                           "that restoring it undoes this.",
                           MsgButtons::Ok, MsgIcon::Information, kTitle);
}

void frmSnapshots_cmdClose_Click(Module1& m) {
    m.ui.UnloadForm("frmSnapshots");
}

} // namespace adultify
