// The pivot data table's text: heading lines, rows by float accumulation of
// the step, formats and the 10-character cut, the motion restored.
#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "data/pivot_table.h"
#include "model/workspace/defaults.h"
#include "base/fixed_format.h"
#include "model/gear/solver.h"
#include "tests/kit/started_gear.h"

namespace vx {
namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string l; std::getline(in, l);) lines.push_back(l);
    return lines;
}

std::string Spaces(int n) { return std::string(static_cast<std::size_t>(n), ' '); }

class PivotTableTest : public test::StartedGear {
protected:
    std::vector<std::string> Table(float step, const PivotPicks& picks = {}) {
        g.motion.selectedStep = step;
        std::string text;
        BuildPivotTable(g, picks, "10 Dec 2026", "11:22:33", text);
        return Lines(text);
    }
};

TEST_F(PivotTableTest, HeadingLines) {
    g.designName = "gear";
    g.motion.reverseArmPosition = -1.5f;
    const auto lines = Table(0.5f);
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Pivot Data" + Spaces(3) + "gear" + Spaces(5) + "10 Dec 2026" + Spaces(3) + "11:22:33");
    EXPECT_EQ(lines[1], Spaces(7) + "Reverse Arm " + " -1.500" + Spaces(6) + "Step Angle " + "  0.500");
    EXPECT_EQ(lines[2], Spaces(2) + "Driver" + Spaces(9) + "No.1" + Spaces(19) + "No.2" + Spaces(19) + "No.3" +
                            Spaces(18) + "No.4" + Spaces(19) + "No.5" + Spaces(18) + "No.6");
    std::string l4 = Spaces(2) + "Angle" + Spaces(5) + "Vert" + Spaces(3) + "Horz";
    for (int n : {9, 10, 9, 10, 9}) l4 += Spaces(n) + "Vert" + Spaces(3) + "Horz";
    EXPECT_EQ(lines[3], l4);
}

TEST_F(PivotTableTest, RowsRunFromZeroWhileTheAccumulatedAngleIsAtMost360) {
    struct Case {
        float step;
        std::size_t rows;
        const char* first;
        const char* last;
    } cases[] = {
        {10, 37, "   0.00", " 360.00"},
        {7, 52, "   0.00", " 357.00"},
        {45, 9, "   0.00", " 360.00"},
    };
    for (const Case& c : cases) {
        const auto lines = Table(c.step);
        ASSERT_EQ(lines.size(), 4 + c.rows) << c.step;
        EXPECT_EQ(lines[4].substr(0, 7), c.first);
        EXPECT_EQ(lines.back().substr(0, 7), c.last) << c.step;
        EXPECT_EQ(PivotTableRowCount(c.step), static_cast<long long>(c.rows));
    }
    // At 0.1 the float sum drifts: the row due at 360 would lie a hair above
    // it, so the last row is the one before (written 359.91).
    const auto lines = Table(0.1f);
    EXPECT_EQ(lines.size(), 4u + 3600u);
    EXPECT_EQ(lines.back().substr(0, 7), " 359.91");
}

TEST_F(PivotTableTest, RowHoldsVertAndHorzOfEachPickInItsFormat) {
    const PivotPicks picks = {2, 0, 8, 16, 27, 4};
    auto check = std::make_unique<GearState>(g);
    const auto lines = Table(10, picks);
    // Row for 30 degrees, checked against solves of its own (each solve
    // starts its searches where the one before left the gear).
    for (float a : {0.0f, 10.0f, 20.0f, 30.0f}) {
        check->motion.driverAngle = a;
        SolveLinkage(*check);
    }
    char buf[64];
    std::string want = "  30.00";
    for (int k = 0; k < kPickSlots; ++k) {
        const int p = picks[static_cast<std::size_t>(k)];
        std::snprintf(buf, sizeof buf, "   %*.3f  %7.3f", k == 0 ? 7 : 9, static_cast<double>(check->piv.y[p]),
                      static_cast<double>(check->piv.x[p]));
        want += buf;
    }
    EXPECT_EQ(lines[4 + 3], want);
    // Slot 2 never filled: pivot 0, the world origin.
    EXPECT_EQ(lines[4].substr(7 + 19, 21), "       0.000    0.000");
}

TEST_F(PivotTableTest, RestoresTheMotionAndCutsLongNumbersToTenCharacters) {
    g.motion.driverAngle = 123.5f;
    g.motion.tickStep = 10;
    g.fixedPivots.liftShaftX = 12345678.9f; // the lift shaft, a fixed pivot
    g.fixedPivots.liftShaftY = -1e30f;
    const auto lines = Table(90, {16, 16, 0, 0, 0, 0});
    EXPECT_EQ(g.motion.driverAngle, 123.5f);
    EXPECT_EQ(g.motion.tickStep, 10);
    EXPECT_EQ(lines[4].substr(7, 3 + 10 + 2 + 10), "   -100000001  12345679.0");
    EXPECT_EQ(lines.size(), 4u + 5u);
}

TEST_F(PivotTableTest, StepsThatCannotAdvanceGiveOneRowAndTinyStepsStopAtTheLimit) {
    for (float s : {0.0f, -1.0f, std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity()})
        EXPECT_EQ(PivotTableRowCount(s), 1) << s;
    // A step too small to reach 360 stops at the row limit.
    EXPECT_EQ(PivotTableRowCount(1e-9f), kMaxPivotTableRows);
    EXPECT_NEAR(static_cast<double>(PivotTableRowCount(0.01f)), 36000, 10);
}

TEST_F(PivotTableTest, CsvHasAnXYColumnPairPerPivotInTheShortestForm) {
    g.motion.selectedStep = 120;
    std::string csv;
    const int pivots[] = {2, 3, 16};
    BuildPivotCsv(g, pivots, csv);
    const auto lines = Lines(csv);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], "angle,p2x,p2y,p3x,p3y,p16x,p16y");
    EXPECT_EQ(lines[2].substr(0, 4), "120,");
    char x[kNumberBuffer], y[kNumberBuffer];
    const std::string tail = "," + std::string(FormatShortest(x, g.fixedPivots.liftShaftX)) + "," +
                             std::string(FormatShortest(y, g.fixedPivots.liftShaftY));
    EXPECT_EQ(lines[1].substr(lines[1].size() - tail.size()), tail);
}

} // namespace
} // namespace vx
