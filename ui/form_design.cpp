#include "ui/form_design.h"

#include <stdexcept>
#include <string>

namespace adultify {

namespace {

using K = ControlKind;

constexpr ControlDesign kForm1[] = {
    {"Frame3", K::Frame, "", 8, 8, 153, 49, "Neighbourhood"},
    {"Combo1", K::Combo, "Frame3", 16, 16, 121, 21},
    {"Frame1", K::Frame, "", 7, 63, 153, 201, "People"},
    {"List1", K::List, "Frame1", 7, 21, 135, 134},
    {"Command1", K::Button, "Frame1", 7, 168, 135, 25, "&Adultify", false},
    {"Frame2", K::Frame, "", 168, 8, 325, 233, "Personal Infomation"},
    {"Picture1", K::Picture, "Frame2", 4, 16, 25, 25},
    {"Label1", K::Label, "Frame2", 30, 24, 43, 15, "Nice:", true, false, true},
    {"Label2", K::Label, "Frame2", 30, 40, 43, 15, "Active:", true, false, true},
    {"Label4", K::Label, "Frame2", 4, 56, 69, 15, "Playful:", true, false, true},
    {"Label5", K::Label, "Frame2", 4, 72, 69, 15, "Outgoing:", true, false, true},
    {"Label6", K::Label, "Frame2", 4, 88, 69, 15, "Neat:", true, false, true},
    {"Label7", K::ValueLabel, "Frame2", 80, 24, 41, 15},
    {"Label8", K::ValueLabel, "Frame2", 80, 40, 41, 15},
    {"Label9", K::ValueLabel, "Frame2", 80, 56, 41, 15},
    {"Label10", K::ValueLabel, "Frame2", 80, 72, 41, 15},
    {"Label11", K::ValueLabel, "Frame2", 80, 88, 41, 15},
    {"Line2", K::Line, "Frame2", 16, 112, 104, 1},
    {"Label12", K::Label, "Frame2", 2, 120, 63, 15, "Cooking:", true, false, true},
    {"Label13", K::Label, "Frame2", 2, 136, 63, 15, "Mechanical:", true, false, true},
    {"Label14", K::Label, "Frame2", 2, 152, 63, 15, "Charisma:", true, false, true},
    {"Label15", K::Label, "Frame2", 2, 168, 63, 15, "Body:", true, false, true},
    {"Label16", K::Label, "Frame2", 2, 184, 63, 15, "Logic:", true, false, true},
    {"Label17", K::Label, "Frame2", 2, 200, 63, 15, "Creativity:", true, false, true},
    {"Label18", K::ValueLabel, "Frame2", 72, 120, 49, 15},
    {"Label19", K::ValueLabel, "Frame2", 72, 136, 49, 15},
    {"Label20", K::ValueLabel, "Frame2", 72, 152, 49, 15},
    {"Label21", K::ValueLabel, "Frame2", 72, 168, 49, 15},
    {"Label22", K::ValueLabel, "Frame2", 72, 184, 49, 15},
    {"Label23", K::ValueLabel, "Frame2", 72, 200, 49, 15},
    {"List2", K::List, "Frame2", 128, 24, 189, 199},
    {"Label3", K::StatusLabel, "", 168, 248, 321, 17},
    {"Picture2", K::HiddenPicture, "", 8, 300, 105, 41},
    {"Picture4", K::HiddenPicture, "", 120, 300, 25, 25},
    {"menu_file", K::Menu, "", 0, 0, 0, 0, "&File"},
    {"menu_path", K::Menu, "menu_file", 0, 0, 0, 0, "&Path"},
    {"menu_sep1", K::Menu, "menu_file", 0, 0, 0, 0, "-"},
    {"menu_exit", K::Menu, "menu_file", 0, 0, 0, 0, "E&xit"},
    {"menu_Save", K::Menu, "", 0, 0, 0, 0, "&Save", false},
    {"menu_iff", K::Menu, "", 0, 0, 0, 0, "&IFF"},
    {"menu_Options", K::Menu, "", 0, 0, 0, 0, "&Options"},
    {"menu_personality", K::Menu, "menu_Options", 0, 0, 0, 0, "Auto &Personality", true, true},
    {"menu_future", K::Menu, "menu_Options", 0, 0, 0, 0, "Future Option", false},
    {"menu_sep2", K::Menu, "menu_Options", 0, 0, 0, 0, "-"},
    {"menu_fix_thumbnails", K::Menu, "menu_Options", 0, 0, 0, 0, "Fix Thumbnails"},
    {"menu_help", K::Menu, "", 0, 0, 0, 0, "&Help"},
    {"menu_about", K::Menu, "menu_help", 0, 0, 0, 0, "&About"},
};

constexpr ControlDesign kForm2[] = {
    {"Form2.Dir1", K::DirList, "", 8, 8, 153, 141},
    {"Form2.Drive1", K::DriveList, "", 8, 152, 153, 21},
    {"Form2.Command1", K::Button, "", 8, 184, 73, 25, "&Ok"},
    {"Form2.Command2", K::Button, "", 88, 184, 73, 25, "&Cancel"},
    {"Form2.File1", K::FileList, "", 200, 8, 137, 136, "*.IFF"},
};

// Laid out in twips (15 to the pixel at 100 %).
constexpr ControlDesign kForm3[] = {
    {"Form3.Frame1", K::Frame, "", 4, 4, 169, 177, "Status Change"},
    {"Form3.Picture1", K::Picture, "Form3.Frame1", 8, 21, 118, 37},
    {"Form3.Picture2", K::Picture, "Form3.Frame1", 133, 14, 18, 60},
    {"Form3.Shape1", K::Shape, "Form3.Frame1", 7, 77, 148, 43},
    {"Form3.Shape2(0)", K::Shape, "Form3.Frame1", 14, 84, 8, 29},
    {"Form3.Shape2(1)", K::Shape, "Form3.Frame1", 28, 84, 8, 29},
    {"Form3.Shape2(2)", K::Shape, "Form3.Frame1", 42, 84, 8, 29},
    {"Form3.Shape2(3)", K::Shape, "Form3.Frame1", 56, 84, 8, 29},
    {"Form3.Shape2(4)", K::Shape, "Form3.Frame1", 70, 84, 8, 29},
    {"Form3.Shape2(5)", K::Shape, "Form3.Frame1", 84, 84, 8, 29},
    {"Form3.Shape2(6)", K::Shape, "Form3.Frame1", 98, 84, 8, 29},
    {"Form3.Shape2(7)", K::Shape, "Form3.Frame1", 112, 84, 8, 29},
    {"Form3.Shape2(8)", K::Shape, "Form3.Frame1", 126, 84, 8, 29},
    {"Form3.Shape2(9)", K::Shape, "Form3.Frame1", 140, 84, 8, 29},
    {"Form3.Label1", K::Label, "Form3.Frame1", 7, 126, 84, 17},
    {"Form3.Label3", K::Label, "Form3.Frame1", 98, 126, 64, 15},
    {"Form3.HScroll1", K::ScrollBar, "Form3.Frame1", 7, 147, 152, 17},
    {"Form3.Label2", K::Label, "Form3.Frame1", 98, 161, 58, 17, "Label2"},
    {"Form3.Command1", K::Button, "", 4, 189, 169, 29, "&Accept Change"},
    {"Form3.Command2", K::Button, "", 4, 224, 169, 29, "&Cancel Change"},
};

constexpr ControlDesign kSplash[] = {
    {"frmSplash.Picture1", K::Picture, "", 0, 0, 320, 240},
    {"frmSplash.lblVersion", K::Label, "", 7, 7, 308, 17, "Version 0.0000"},
    {"frmSplash.Label2", K::Label, "", 7, 28, 308, 17,
     "Please make a backup of your neighbourhood first."},
    {"frmSplash.Label1", K::Label, "", 0, 222, 321, 17},
};

constexpr ControlDesign kAbout[] = {
    {"frmAbout.Picture1", K::Picture, "", 8, 8, 160, 120},
    {"frmAbout.lblVersion", K::Label, "", 176, 8, 316, 17, "Version"},
    {"frmAbout.lblDescription", K::Label, "", 176, 28, 316, 17,
     "Grows a child Sim of The Sims into an adult."},
    {"frmAbout.Label1", K::Label, "", 176, 48, 316, 17,
     "Questions and reports: see the home page below."},
    {"frmAbout.Label2", K::Label, "", 176, 68, 316, 30,
     "The Sims and its logos are trademarks of Electronic Arts Inc. and Maxis."},
    {"frmAbout.Label3", K::Label, "", 8, 136, 484, 17, "Special Thanks to the following people"},
    {"frmAbout.Label4", K::Label, "", 24, 156, 468, 15, "The testers"},
    {"frmAbout.Label5", K::Label, "", 24, 172, 468, 15,
     "The players who shared their neighbourhoods"},
    {"frmAbout.Label6", K::Label, "", 24, 188, 468, 15, "The readers of the game's file formats"},
    {"frmAbout.Label7", K::Label, "", 24, 204, 468, 15, "The translators"},
    {"frmAbout.Label8", K::Label, "", 24, 220, 468, 15, "Everyone who reported a fault"},
    {"frmAbout.Label9", K::Label, "", 8, 240, 484, 17, "for helping to make Adultify a reality:"},
    {"frmAbout.Label10", K::Label, "", 8, 264, 200, 17, "Visit Adultifys web site at:"},
    {"frmAbout.Label11", K::LinkLabel, "", 208, 264, 284, 17, kHomePage},
    {"frmAbout.cmdOK", K::Button, "", 336, 292, 156, 27, "&I am Impressed!"},
};

constexpr FormDesign kForms[] = {
    {"Form1", "Adultify", 499, 273, kForm1},      {"Form2", "The Sims Path", 175, 213, kForm2},
    {"Form3", "Status Change", 179, 261, kForm3}, {"frmSplash", "", 321, 242, kSplash},
    {"frmAbout", "About", 500, 327, kAbout},
};

} // namespace

std::span<const FormDesign> AllFormDesigns() {
    return kForms;
}

const FormDesign& FormDesignOf(std::string_view form) {
    for (const FormDesign& f : kForms)
        if (f.name == form) return f;
    throw std::out_of_range("no window named " + std::string(form));
}

std::string_view FormOfControl(std::string_view control) {
    const auto dot = control.find('.');
    if (dot != std::string_view::npos) return control.substr(0, dot);
    for (const FormDesign& f : kForms)
        if (f.name == control) return f.name;
    return "Form1";
}

} // namespace adultify
