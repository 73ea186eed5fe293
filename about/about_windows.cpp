#include "about/about_windows.h"

#include "ui/form_design.h"

#include <string>

namespace adultify {

// The build passes the program's version, major.minor.build.revision, in one place.
std::string MakeVersionNumber() {
    return std::to_string(ADULTIFY_VERSION_MAJOR) + "." + std::to_string(ADULTIFY_VERSION_MINOR) +
           "." + std::to_string(ADULTIFY_VERSION_REVISION);
}

std::string MakeVersionText() {
    return "Version " + MakeVersionNumber();
}

// Centring on the screen is the window layer's own, on every showing.
void frmSplash_Load(Module1& m) {
    m.ui.SetCaption("frmSplash.lblVersion", MakeVersionText());
}

void frmSplash_KeyPress(Module1& m) {
    m.ui.UnloadForm("frmSplash");
}

void frmAbout_Load(Module1& m) {
    m.ui.SetCaption("frmAbout", "About Adultify");
    m.ui.SetCaption("frmAbout.lblVersion", MakeVersionText());
}

void frmAbout_cmdOK_Click(Module1& m) {
    m.ui.UnloadForm("frmAbout");
}

void frmAbout_Label11_Click(Module1& m) {
    if (!kHomePage.empty()) m.ui.ShellOpen("frmAbout", kHomePage);
}

void frmAbout_Label11_MouseMove(Module1& m) {
    m.ui.SetPointer(MousePointer::UpArrow);
}

void frmAbout_MouseMove(Module1& m) {
    m.ui.SetPointer(MousePointer::Default);
}

} // namespace adultify
