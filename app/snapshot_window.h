#pragma once
// File, Snapshots: the chosen neighbourhood's snapshots, newest first; selecting one and
// clicking Restore puts its files back after a question.

#include "core/module1.h"

namespace adultify {

void ShowSnapshotWindow(Module1& m);
void frmSnapshots_List1_Click(Module1& m);
void frmSnapshots_cmdRestore_Click(Module1& m);
void frmSnapshots_cmdClose_Click(Module1& m);

} // namespace adultify
