#pragma once
// The splash window shown during start-up and the about window.

#include "app/module1.h"

#include <string>

namespace adultify {

inline constexpr int kVersionMajor = 1, kVersionMinor = 2, kVersionBuild = 0, kVersionRevision = 8;

// "Version 1.2.8": major, minor and revision; the build number is not shown.
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
