// The unit of the labels: its names, symbols and the labels it makes, and
// that none labels nothing.
#include "base/length_unit.h"

#include <gtest/gtest.h>

namespace vx {
namespace {

TEST(LengthUnit, NamesSymbolsAndLabels) {
    const struct {
        LengthUnit unit;
        const char* name;
        const char* symbol;
        const char* stroke; // LengthWithUnit("76.2")
        const char* lead;   // LabelWithUnit("lead")
        const char* words;
    } units[] = {
        {LengthUnit::None, "none", "", "76.2", "lead", "length unit"},
        {LengthUnit::Inch, "in", "in", "76.2 in", "lead, in", "in"},
        {LengthUnit::Millimetre, "mm", "mm", "76.2 mm", "lead, mm", "mm"},
    };
    for (const auto& u : units) {
        EXPECT_EQ(LengthUnitName(u.unit), u.name);
        EXPECT_EQ(ReadLengthUnit(u.name), u.unit) << u.name;
        EXPECT_EQ(LengthUnitSymbol(u.unit), u.symbol);
        EXPECT_EQ(LengthWithUnit("76.2", u.unit), u.stroke);
        EXPECT_EQ(LabelWithUnit("lead", u.unit), u.lead);
        EXPECT_EQ(LengthUnitWords(u.unit), u.words);
    }
    for (const char* bad : {"", "MM", "inch", "millimetres", " mm", "cm", "none "})
        EXPECT_FALSE(ReadLengthUnit(bad).has_value()) << '"' << bad << '"';
}

} // namespace
} // namespace vx
