// The overlay's plain rules: the row number format and its read-back, the
// anchor search, and what a completed line or circle keeps.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "data/overlay.h"

namespace vx {
namespace {

constexpr float kInf = std::numeric_limits<float>::infinity();

TEST(OverlayNumber, FormatsThreeDecimalsInSevenToTenCharacters) {
    struct Case {
        float v;
        const char* text;
    } cases[] = {
        {0, "  0.000"},
        {1.5f, "  1.500"},
        {-12.3456f, "-12.346"},
        {1234.5f, "1234.500"},
        {1234567.0f, "1234567.00"},     // cut to 10 characters
        {-123456789.0f, "-123456792"},  // whole part just fits
        {1e10f, "1.000e+10"},           // would be cut inside the whole part
        {-3e12f, "-3.000e+12"},
        {std::nanf(""), "    nan"},
        {-kInf, "   -inf"},
    };
    for (const Case& c : cases) EXPECT_EQ(FormatOverlayNumber(c.v), c.text) << c.v;
}

TEST(OverlayNumber, ReadsTheStandardDecimalFormAndZeroForAnythingElse) {
    struct Case {
        const char* text;
        float v;
    } cases[] = {
        {"", 0}, {"-", 0}, {".", 0}, {"1-2", 0}, {"abc", 0},
        {"  1.500", 1.5f}, {"-.5", -0.5f}, {"7.", 7}, {"1234567.00", 1234567},
        {"1.000e+10", 1e10f}, {"99999999999999999999999999999999999999999", kInf},
        {"-9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
         "9999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999"
         "99999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999999",
         -kInf},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseOverlayNumber(c.text), c.v) << c.text;
}

TEST(OverlayNumber, RelativeValueKeepsThreeDecimals) {
    EXPECT_FLOAT_EQ(RelativeOverlayValue(1.23456f), 1.235f);
    EXPECT_FLOAT_EQ(RelativeOverlayValue(-0.0004f), 0.0f);
    EXPECT_FLOAT_EQ(RelativeOverlayValue(2e10f), 2e10f); // not cut to a tenth
    EXPECT_TRUE(std::isnan(RelativeOverlayValue(std::nanf(""))));
}

TEST(OverlayAnchor, NearestPivotBySumOfDifferencesTiesToLowerAndSkipsReferencePoints) {
    PivotTable piv;
    for (std::size_t i = 0; i < piv.x.size(); ++i) piv.x[i] = piv.y[i] = 500;
    piv.x[19] = piv.y[19] = 0; // the reference points themselves never count
    piv.x[20] = piv.y[20] = 0;
    piv.x[9] = 3, piv.y[9] = 0;   // sum 3
    piv.x[4] = 2, piv.y[4] = 1;   // sum 3 as well: the lower number wins
    piv.x[27] = 0, piv.y[27] = 0; // beyond 26
    EXPECT_EQ(NearestAnchorPivot(piv, 0, 0, 7), 4);
    piv.x[1] = 2, piv.y[1] = 2; // sum 4, Euclidean 2.83 < 3: not chosen
    EXPECT_EQ(NearestAnchorPivot(piv, 0, 0, 7), 4);
    EXPECT_EQ(NearestAnchorPivot(piv, 20000, 0, 7), 7); // none nearer than 10000
}

TEST(OverlayAnchor, BindingRecordsWherePivotStandsAndSurvivesANumberFromAFile) {
    GearState g;
    for (std::size_t i = 1; i <= 26; ++i) g.piv.x[i] = g.piv.y[i] = 900;
    g.piv.x[5] = 10, g.piv.y[5] = -4;
    g.piv.x[19] = 11, g.piv.y[19] = -3;
    OverlayItem it;
    BindOverlayAnchor(g, it, 1, 19);
    EXPECT_EQ(it.anchorPivot1, 5);
    EXPECT_EQ(it.anchor1Horz, 10);
    EXPECT_EQ(it.anchor1Vert, -4);

    // Nothing near: the previous number stays; one outside the table anchors
    // at the origin.
    g.piv.x[19] = 1e9f;
    it.anchorPivot2 = 1e30f;
    BindOverlayAnchor(g, it, 2, 19);
    EXPECT_EQ(it.anchorPivot2, 1e30f);
    EXPECT_EQ(it.anchor2Horz, 0);
    EXPECT_EQ(it.anchor2Vert, 0);
}

TEST(OverlayFinish, EachKindAndReferenceModeKeepsItsValues) {
    struct Case {
        float kind, refMode;
        float v1, h1, v2, h2; // expected
        std::array<const char*, 4> box;
    } cases[] = {
        {0, 0, 1.2346f, 2.5f, -3, 4, {"  1.235", "  2.500", " -3.000", "  4.000"}},
        {0, 1, 0.235f, 1.5f, -4, 3, {"  0.235", "  1.500", " -4.000", "  3.000"}},
        {0, 2, 0.235f, 1.5f, -3, 4, {"  0.235", "  1.500", " -3.000", "  4.000"}},
        {0, 3, 0.235f, 1.5f, -13, 24, {"  0.235", "  1.500", "-13.000", " 24.000"}},
        // Circle through (4, -3) centred at (2.5, 1.2346): radius 4.4924...
        {1, 0, 1.2346f, 2.5f, -3, 4.492f, {"  1.235", "  2.500", "", "  4.492"}},
        // Anchored circle: the radius from where reference point 1 stood,
        // (1, 1), to reference point 2, (4, -3).
        {1, 1, 0.235f, 1.5f, -3, 5, {"  0.235", "  1.500", "", "  5.000"}},
    };
    for (const Case& c : cases) {
        OverlayItem it;
        it.kind = c.kind;
        it.refMode = c.refMode;
        it.vert1 = 1.2346f, it.horz1 = 2.5f, it.vert2 = -3, it.horz2 = 4;
        it.anchor1Vert = 1, it.anchor1Horz = 1;
        it.anchor2Vert = 10, it.anchor2Horz = -20;
        std::array<std::string, 4> box;
        ASSERT_TRUE(FinishOverlayItem(it, 1, 1, box)) << c.kind << " " << c.refMode;
        EXPECT_FLOAT_EQ(it.vert1, c.v1);
        EXPECT_FLOAT_EQ(it.horz1, c.h1);
        EXPECT_FLOAT_EQ(it.vert2, c.v2);
        EXPECT_FLOAT_EQ(it.horz2, c.h2);
        for (std::size_t k = 0; k < 4; ++k) EXPECT_EQ(box[k], c.box[k]) << c.kind << " " << c.refMode << " " << k;
    }
}

TEST(OverlayFinish, UnfinishedCombinationsChangeNothing) {
    const float combos[][2] = {{-1, -1}, {1, 2}, {1, 3}, {0, -1}, {0, 4}};
    for (const auto& c : combos) {
        OverlayItem it;
        it.kind = c[0];
        it.refMode = c[1];
        it.vert1 = 1.23456f;
        std::array<std::string, 4> box = {"a", "b", "c", "d"};
        EXPECT_FALSE(FinishOverlayItem(it, 0, 0, box));
        EXPECT_EQ(it.vert1, 1.23456f);
        EXPECT_EQ(box[0], "a");
    }
}

TEST(OverlayRows, TableRefreshLeavesUnknownCodesAlone) {
    GearState g;
    OverlayDialogState d;
    d.rows[3].type = 1;
    d.rows[3].color = 2;
    g.overlay[3].kind = std::nanf("");
    g.overlay[3].color = 12345;
    g.overlay[3].refMode = 2.4f;
    g.overlay[4].kind = 0;
    g.overlay[4].color = 16711680;
    g.overlay[4].vert2 = 7;
    OverlayRefreshTable(g, d);
    EXPECT_EQ(d.rows[3].type, 1);
    EXPECT_EQ(d.rows[3].color, 2);
    EXPECT_EQ(d.rows[3].ref, 2);
    EXPECT_EQ(d.rows[3].box[0], "");
    EXPECT_EQ(d.rows[4].type, 0);
    EXPECT_EQ(d.rows[4].color, 4);
    EXPECT_EQ(d.rows[4].ref, -1);
    EXPECT_EQ(d.rows[4].box[2], "  7.000");
}

} // namespace
} // namespace vx
