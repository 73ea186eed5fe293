#pragma once
// File, Children: every child of every neighbourhood of the game, one line each (neighbourhood,
// family, name), sortable by each. A line opens in the main window; marked lines grow up one
// after another, each through the main window's own Adultify, with a progress bar, a Cancel
// that stops after the child in hand, and one summary at the end.

#include "core/module1.h"

namespace adultify {

void ShowChildrenWindow(Module1& m);
void frmChildren_List1_Click(Module1& m);
// The column captions sort the lines by their column.
void frmChildren_Sort_Click(Module1& m, ControlId caption);
void frmChildren_cmdMark_Click(Module1& m);
void frmChildren_cmdOpen_Click(Module1& m);
void frmChildren_cmdGrowUp_Click(Module1& m);
void frmChildren_cmdCancel_Click(Module1& m);
void frmChildren_cmdClose_Click(Module1& m);

} // namespace adultify
