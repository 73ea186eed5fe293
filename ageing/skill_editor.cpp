#include "ageing/skill_editor.h"

#include "core/reports.h"
#include "core/status_line.h"
#include "core/utilities.h"
#include "game/neighbourhood_name.h"
#include "hood/before_command.h"
#include "hood/resident_view.h"

#include <algorithm>
#include <cmath>

namespace adultify {

namespace {
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kCyan{0, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
constexpr float kHalfTurn = 3.14f; // that constant, not pi
} // namespace

std::string PointsText(long long v) {
    const long long points = v / 100;
    const double f = static_cast<double>(v % 100) / 100.0;
    return WithSignPosition(points) + " / " + std::to_string(std::lround(f * 100.0)) + "%";
}

void SkillLabel_Click(Module1& m, const SkillRow& row) {
    // No dialog for nobody, for a game this run may not save, or over a changed file.
    const int i = SelectedResident(m);
    if (i < 0) return;
    if (m.game.lookOnly) {
        SetStatus(m, "Nothing can be changed: another Adultify is editing this game.");
        return;
    }
    if (!StillAsRead(m, {HoodFile(m.game.SimsPath, ChosenHood(m))})) return;
    const long long current = LeadingNumber(m.ui.Caption(row.valueLabel));
    const double newValue = EditSkill(m, 0, 1000, current, row.name);
    const Position p =
        FindBytes(m.hood.HoodData, m.hood.People[static_cast<std::size_t>(i)].UserFile, 1);
    const auto value = static_cast<unsigned>(std::clamp(std::floor(newValue), 0.0, 65535.0));
    if (p > 0 && p + row.offset + 1 <= static_cast<Position>(m.hood.HoodData.size())) {
        // Only a real change is an unsaved edit: a Cancel, or the value it opened with, is not.
        if (ReadU16LE(m.hood.HoodData, p + row.offset) != value) {
            WriteU16LE(m.hood.HoodData, p + row.offset, value);
            m.editing.UnsavedData = kTrue;
        }
    } else if (static_cast<long long>(value) != current) {
        // A record cut off by the end of the file has no place for the value.
        ReportRefusal(m, "The skill was not changed. Nothing has been changed.",
                      HoodFile(m.game.SimsPath, ChosenHood(m)),
                      "the resident's record ends before its " + std::string(row.name) + " value");
    }
    Display_user_Details(m);
}

double EditSkill(Module1& m, int minimum, int maximum, long long current,
                 std::string_view skillName) {
    SetStatus(m, "Status Change");
    m.ui.LoadForm("Form3");
    Form3_Load(m);
    m.ui.CopyPicture("Picture2", "Form3.Picture1");
    m.ui.SetCaption("Form3.Frame1", "Status Change - " + std::string(skillName));
    m.ui.SetCaption("Form3.Label1", std::string(skillName) + ":");
    m.ui.SetScrollRange("Form3.HScroll1", minimum, maximum, 1, 100);
    // A damaged file can hold a value the scroll bar cannot show; the stored value is kept.
    const int shown = static_cast<int>(std::clamp<long long>(current, minimum, maximum));
    for (int v : {shown, minimum, maximum, shown})
        if (m.ui.SetScrollValue("Form3.HScroll1", v)) HScroll1_Change(m);
    m.editing.SkillEditValue = static_cast<double>(current);
    m.ui.ShowModal("Form3");
    const double result = m.editing.SkillEditValue;
    SetStatus(m, "Idle");
    return result;
}

void Form3_Load(Module1& m) {
    m.editing.SkillEditValue = static_cast<double>(LeadingNumber(m.ui.Caption("Form3.Label2")));
    m.ui.SetLineWidth("Form3.Picture2", 1);
}

void HScroll1_Change(Module1& m) {
    m.ui.SetCaption("Form3.Label2", std::to_string(m.ui.ScrollValue("Form3.HScroll1")));
    const long long v = LeadingNumber(m.ui.Caption("Form3.Label2"));
    const long long points = v / 100;
    const float f = static_cast<float>(v % 100) / 100.0f;
    m.ui.SetCaption("Form3.Label3", PointsText(v));
    for (std::size_t index = 0; index < kShape2.size(); ++index)
        m.ui.SetFillStyle(kShape2[index], static_cast<long long>(index) <= points - 1 ? 0 : 1);

    const ControlId box = "Form3.Picture2";
    const float w1 = m.ui.ScaleWidth(box) - 1;
    const float h1 = m.ui.ScaleHeight(box) - 1;
    const float cx = w1 / 2;
    const float r = m.ui.ScaleHeight(box) - 4;
    const float l = r * f;
    m.ui.PictureClear(box);
    m.ui.SetLineWidth(box, 1);
    m.ui.FillRect(box, 2, h1 - l, w1 - 2, 2, kBlue);
    if (f > 0) m.ui.FillRect(box, 2, h1 - l - 1, w1 - 2, h1 - 2, kCyan);
    m.ui.SetLineWidth(box, 2);
    m.ui.DrawArc(box, cx, cx, cx, 0, kHalfTurn, std::nullopt);
    m.ui.DrawArc(box, cx, h1 - cx, cx, kHalfTurn, 0, std::nullopt);
    m.ui.DrawLine(box, 1, cx, 1, h1 - cx, kBlack);
    m.ui.DrawLine(box, w1, cx, w1, h1 - cx, kBlack);
}

void Form3_Command1_Click(Module1& m) {
    m.editing.SkillEditValue = static_cast<double>(LeadingNumber(m.ui.Caption("Form3.Label2")));
    m.ui.UnloadForm("Form3");
}

void Form3_Command2_Click(Module1& m) {
    m.ui.UnloadForm("Form3");
}

} // namespace adultify
