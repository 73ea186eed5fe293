#pragma once
// The splash window shown during start-up and the about window.

#include "core/module1.h"

#include <string>

namespace adultify {

// "1.2.8": major, minor and revision of the program's version.
[[nodiscard]] std::string MakeVersionNumber();
// "Version 1.2.8": major, minor and revision of the program's version; the build number
// (1.2.0.8) is not shown.
[[nodiscard]] std::string MakeVersionText();

void frmSplash_Load(Module1& m);
void frmSplash_KeyPress(Module1& m);
void frmAbout_Load(Module1& m);
void frmAbout_cmdOK_Click(Module1& m);
void frmAbout_Label11_Click(Module1& m);
void frmAbout_Label11_MouseMove(Module1& m);
// The window's background and Label10 set the default pointer again.
void frmAbout_MouseMove(Module1& m);

} // namespace adultify
