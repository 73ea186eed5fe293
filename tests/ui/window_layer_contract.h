#pragma once
// What the logic relies on from any window layer.

#include "sample/bitmap.h"
#include "ui/window_system.h"

#include <gtest/gtest.h>

#include <memory>

namespace adultify {

using WindowSystemFactory = std::unique_ptr<WindowSystem> (*)();

class WindowLayerContract : public ::testing::TestWithParam<WindowSystemFactory> {
  protected:
    void SetUp() override { ui = GetParam()(); }
    std::unique_ptr<WindowSystem> ui;
};

TEST_P(WindowLayerContract, StartsWithTheDesignTimeStates) {
    EXPECT_EQ(ui->Caption("Frame2"), "Personal Infomation");
    EXPECT_EQ(ui->Caption("Command1"), "&Adultify");
    EXPECT_EQ(ui->Caption("Label13"), "Mechanical:");
    EXPECT_FALSE(ui->IsEnabled("menu_Save"));
    EXPECT_FALSE(ui->IsEnabled("menu_future"));
    EXPECT_TRUE(ui->IsEnabled("menu_iff"));
    EXPECT_TRUE(ui->IsChecked("menu_personality"));
    EXPECT_EQ(ui->Caption("Label7"), "");
}

TEST_P(WindowLayerContract, ListsKeepOrderAndOneSelection) {
    ui->ListAdd("List1", "Bob Newbie");
    ui->ListAdd("List1", "Chloë Goth");
    ui->ListAdd("List1", "Bob Newbie");
    EXPECT_EQ(ui->ListCount("List1"), 3);
    EXPECT_EQ(ui->ListItem("List1", 1), "Chloë Goth");
    ui->ListSelect("List1", 2);
    EXPECT_TRUE(ui->ListSelected("List1", 2));
    EXPECT_FALSE(ui->ListSelected("List1", 0));
    ui->ListSelect("List1", -1);
    EXPECT_FALSE(ui->ListSelected("List1", 2));
    ui->ListClear("List1");
    EXPECT_EQ(ui->ListCount("List1"), 0);
}

TEST_P(WindowLayerContract, TheDropDownsTextIsItsSelectedEntry) {
    ui->ListAdd("Combo1", "Neighbourhood 1");
    ui->ListAdd("Combo1", "Neighbourhood 3");
    EXPECT_EQ(ui->Caption("Combo1"), "");
    ui->ListSelect("Combo1", 1);
    EXPECT_EQ(ui->Caption("Combo1"), "Neighbourhood 3");
}

TEST_P(WindowLayerContract, CaptionsEnabledAndCheckedStates) {
    ui->SetCaption("Label3", "Find Residents (Bob Newbie)");
    EXPECT_EQ(ui->Caption("Label3"), "Find Residents (Bob Newbie)");
    ui->SetCaption("Label3", "");
    EXPECT_EQ(ui->Caption("Label3"), "");
    ui->SetEnabled("Command1", true);
    EXPECT_TRUE(ui->IsEnabled("Command1"));
    ui->SetEnabled("Label18", false);
    EXPECT_FALSE(ui->IsEnabled("Label18"));
    ui->SetChecked("menu_personality", false);
    EXPECT_FALSE(ui->IsChecked("menu_personality"));
}

TEST_P(WindowLayerContract, PicturesAcceptGameBitmapsAndRefuseOthers) {
    const Bytes thumb = sample::ThumbnailBitmap({200, 150, 120}, {50, 30, 10});
    EXPECT_TRUE(ui->SetPictureBitmap("Picture1", thumb));
    Bytes broken = thumb;
    broken.resize(20);
    EXPECT_FALSE(ui->SetPictureBitmap("Picture1", broken));
    ui->SetPictureStock("Picture2");
    ui->CopyPicture("Picture2", "Picture1");
}

TEST_P(WindowLayerContract, ScrollBarAnswersWhetherTheValueChanged) {
    ui->LoadForm("Form3");
    ui->SetScrollRange("Form3.HScroll1", 0, 1000, 1, 100);
    const int start = ui->ScrollValue("Form3.HScroll1");
    EXPECT_EQ(ui->SetScrollValue("Form3.HScroll1", start), false);
    EXPECT_EQ(ui->SetScrollValue("Form3.HScroll1", 537), start != 537);
    EXPECT_EQ(ui->ScrollValue("Form3.HScroll1"), 537);
    EXPECT_TRUE(ui->SetScrollValue("Form3.HScroll1", 1000));
    ui->SetFillStyle("Form3.Shape2(3)", 0);
    EXPECT_EQ(ui->FillStyle("Form3.Shape2(3)"), 0);
    EXPECT_GT(ui->ScaleWidth("Form3.Picture2"), 0);
    EXPECT_GT(ui->ScaleHeight("Form3.Picture2"), ui->ScaleWidth("Form3.Picture2"));
    ui->UnloadForm("Form3");
    EXPECT_FALSE(ui->IsLoaded("Form3"));
}

TEST_P(WindowLayerContract, LoadingAFormAgainStartsFromItsDesign) {
    ui->LoadForm("Form3");
    ui->SetCaption("Form3.Label2", "537");
    ui->UnloadForm("Form3");
    ui->LoadForm("Form3");
    EXPECT_EQ(ui->Caption("Form3.Label2"), "Label2");
    ui->UnloadForm("Form3");
}

} // namespace adultify
