// The layout table and the ids made from it.
#include "ui/control_id.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace adultify {
namespace {

TEST(LayoutTable, NamesAreUniqueAndParentsLieOnTheSameWindowBeforeTheirChildren) {
    std::set<std::string_view> seen;
    for (std::size_t row = 0; row < kControlCount; ++row) {
        const ControlId id = ControlId::AtRow(row);
        EXPECT_TRUE(seen.insert(id.Name()).second) << id.Name();
        const std::string_view parent = id.Design().parent;
        if (parent.empty()) continue;
        const auto p = ControlId::Find(parent);
        ASSERT_TRUE(p.has_value()) << id.Name() << " has no parent " << parent;
        EXPECT_LT(p->Row(), row) << id.Name();
        EXPECT_EQ(p->Form(), id.Form()) << id.Name();
    }
}

TEST(LayoutTable, ControlsOfOtherWindowsCarryTheWindowsName) {
    for (FormId form : AllForms()) {
        for (const ControlDesign& c : form.Controls()) {
            const bool prefixed = c.name.rfind(std::string(form.Name()) + ".", 0) == 0;
            EXPECT_EQ(prefixed, form.Name() != "Form1") << c.name;
        }
    }
}

TEST(ControlIds, FoundByNameAtRunTimeAsAtCompileTime) {
    constexpr ControlId label = "Label18";
    static_assert(label.Form() == FormId("Form1"));
    static_assert(ControlId("Form3.HScroll1").Form() == FormId("Form3"));
    static_assert(ControlId("frmAbout").IsWindow());
    EXPECT_EQ(ControlId::Find("Label18"), label);
    EXPECT_EQ(label.Name(), "Label18");
    EXPECT_FALSE(ControlId::Find("Label99").has_value());
    EXPECT_FALSE(ControlId::Find("label18").has_value()) << "names keep their letter case";
}

} // namespace
} // namespace adultify
