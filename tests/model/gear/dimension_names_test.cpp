// The names a dimension is shown by beside figures: one spelling each.
#include <gtest/gtest.h>

#include <string>

#include "model/gear/dimensions.h"

namespace vx {
namespace {

TEST(DimensionNames, DisplayNameAndFieldBesideIt) {
    const struct {
        int id;
        bool withField;
        const char* expected;
    } cases[] = {
        {29, true, "Rocker Pivot Horz (rockerPivotHorz)"},
        {29, false, "Rocker Pivot Horz"},
        {111, false, "Bridge Width Rear"}, // the short name's run of blanks made one
        {9, true, "Eccentric Reverse Rod (eccRevRod)"},
        {8, false, "Eccentric Forward Rod"},
        {0, true, ""},
    };
    for (const auto& c : cases) EXPECT_EQ(DimensionDisplayName(c.id, c.withField), c.expected) << c.id;
}

// Every display name reads cleanly, and the eccentric's five dimensions
// spell it alike.
TEST(DimensionNames, EveryNameIsSpeltOneWay) {
    for (const DimensionInfo& d : AllDimensions()) {
        const std::string name = DimensionDisplayName(d.id, false);
        SCOPED_TRACE(name);
        EXPECT_FALSE(name.empty());
        EXPECT_EQ(name.find("  "), std::string::npos);
        EXPECT_NE(name.front(), ' ');
        EXPECT_NE(name.back(), ' ');
        if (d.field.rfind("ecc", 0) == 0) EXPECT_EQ(name.rfind("Eccentric ", 0), 0u);
    }
}

} // namespace
} // namespace vx
