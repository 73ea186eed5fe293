#include "core/status_line.h"
#include "core/utilities.h"
#include "tests/support/headless_app.h"

#include <gtest/gtest.h>

namespace adultify {
namespace {

TEST(SetStatus, WritesBothLabelsIncludingTheEmptyText) {
    test::HeadlessApp app;
    SetStatus(app.m, "Find Residents");
    SetStatus(app.m, "");
    EXPECT_EQ(app.ui.CaptionHistory("Label3"), (std::vector<std::string>{"Find Residents", ""}));
    EXPECT_EQ(app.ui.Caption("frmSplash.Label1"), "");
}

TEST(WaitSeconds, WaitsAFullSecondAlsoAcrossMidnight) {
    for (double start : {36000.0, 86399.5}) {
        test::HeadlessApp app;
        app.clock.Advance(start - app.clock.TimeOfDay());
        const int turnsBefore = app.ui.EventTurns();
        WaitSeconds(app.m, 1);
        double elapsed = app.clock.TimeOfDay() - start;
        if (elapsed < 0) elapsed += 86400;
        EXPECT_GT(elapsed, 1.0) << "from " << start;
        EXPECT_LT(elapsed, 1.05);
        EXPECT_GT(app.ui.EventTurns() - turnsBefore, 50) << "the windows keep running";
    }
}

TEST(EndProgramNow, EndsTheWindowsAndUnwinds) {
    test::HeadlessApp app;
    try {
        EndProgramNow(app.m, kExitFatal);
        FAIL() << "EndProgramNow returned";
    } catch (const ProgramEnd& end) {
        EXPECT_EQ(end.exitCode, kExitFatal);
    }
    EXPECT_TRUE(app.ui.Ended());
}

TEST(NumberTexts, SignPositionAndLeadingNumber) {
    EXPECT_EQ(WithSignPosition(5), " 5");
    EXPECT_EQ(WithSignPosition(0), " 0");
    EXPECT_EQ(WithSignPosition(-3), "-3");
    EXPECT_EQ(LeadingNumber("537"), 537);
    EXPECT_EQ(LeadingNumber("  12abc"), 12);
    EXPECT_EQ(LeadingNumber("Label2"), 0);
    EXPECT_EQ(LeadingNumber(""), 0);
}

TEST(RandomSource, UniformInTheHalfOpenUnitRangeAndRepeatableWhenForced) {
    RandomSource random;
    random.Seed(1234.5);
    double sum = 0;
    for (int i = 0; i < 10000; ++i) {
        const float r = random.Next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        sum += r;
    }
    EXPECT_NEAR(sum / 10000, 0.5, 0.02);
    RandomSource a, b;
    a.Force(7);
    b.Force(7);
    a.Seed(100.0); // a forced seed wins over the time of day
    b.Seed(200.0);
    EXPECT_EQ(a.Next(), b.Next());
}

TEST(SystemClock, GivesATimeOfDay) {
    SystemClock clock;
    const double t = clock.TimeOfDay();
    EXPECT_GE(t, 0.0);
    EXPECT_LT(t, 86400.0);
}

} // namespace
} // namespace adultify
