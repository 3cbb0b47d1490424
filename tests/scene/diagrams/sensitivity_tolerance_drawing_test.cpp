// The sensitivity chart and the tolerance histograms, checked through the
// recording canvas on results made by hand: ranking order, bar sides and
// lengths, failing entries, the row under a point, the nominal mark, the
// threshold lines, the table, and values no drawing may trip over.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>

#include "platform/recording_canvas.h"
#include "scene/diagrams/sensitivity_drawing.h"
#include "scene/diagrams/table_drawing.h"
#include "scene/diagrams/tolerance_drawing.h"

namespace vx {
namespace {

using Kind = RecordingCanvas::Kind;

const RecordingCanvas::Op* FindText(const RecordingCanvas& c, std::string_view part) {
    for (const auto& op : c.Ops())
        if (op.kind == Kind::Text && op.text.find(part) != std::string::npos) return &op;
    return nullptr;
}

// A result of one position and three dimensions for cutOffDiff: stroke
// moves it by -0.2, eccFwdRod by +0.5, and a step of the main rod fails.
SensitivityResult HandMadeSensitivity() {
    SensitivityResult r;
    r.ids = {2, 3, 8};
    r.steps = {0.003f, 0.01f, 0.00725f};
    SensitivityPosition p;
    p.position = 6.5f;
    p.forward = true;
    r.positions.push_back(p);
    r.entries.assign(3 * kEventFigureCount, SensitivityEntry{});
    const auto set = [&](std::size_t d, SensitivityStatus s, float perTolerance) {
        SensitivityEntry& e = r.entries[d * kEventFigureCount + static_cast<std::size_t>(EventFigure::CutOffDiff)];
        e.status = s;
        e.perTolerance = perTolerance;
        e.derivative = perTolerance * 1000;
    };
    set(0, SensitivityStatus::Ok, -0.2f);
    set(1, SensitivityStatus::Fails, 0);
    set(2, SensitivityStatus::Ok, 0.5f);
    return r;
}

TEST(SensitivityDrawing, RowsAreRankedWithBarsToTheirSideAndFailuresSaid) {
    const SensitivityResult r = HandMadeSensitivity();
    RecordingCanvas c(900, 600);
    DrawSensitivityChart(c, r, 0, EventFigure::CutOffDiff, 0, 8, 100, 880);
    // The display names, with the field names beside them at this width.
    const auto* first = FindText(c, "1  Eccentric Forward Rod (eccFwdRod)");
    const auto* second = FindText(c, "2  Stroke (stroke)");
    const auto* third = FindText(c, "3  Main Rod Length (mainRodLength)");
    ASSERT_TRUE(first && second && third);
    EXPECT_LT(first->a[1], second->a[1]);
    EXPECT_LT(second->a[1], third->a[1]);
    const auto* fails = FindText(c, "fails");
    ASSERT_NE(fails, nullptr);
    EXPECT_EQ(fails->style.color, colors::kRed);
    EXPECT_NE(FindText(c, "0.5000"), nullptr);
    EXPECT_NE(FindText(c, "-0.2000"), nullptr);

    // The bars: eccFwdRod's to the right of the axis, twice and a half as
    // long as stroke's, which goes to the left.
    int growLeft = 1 << 30, growRight = -1, shrinkLeft = 1 << 30, shrinkRight = -1;
    for (const auto& s : c.Segments()) {
        if (s.y1 != s.y2) continue;
        if (s.color == Rgb{70, 110, 200}) {
            growLeft = std::min(growLeft, s.x1);
            growRight = std::max(growRight, s.x2);
        } else if (s.color == Rgb{210, 90, 60}) {
            shrinkLeft = std::min(shrinkLeft, s.x1);
            shrinkRight = std::max(shrinkRight, s.x2);
        }
    }
    ASSERT_GE(growRight, 0);
    ASSERT_GE(shrinkRight, 0);
    EXPECT_EQ(growLeft, shrinkRight); // both start at the axis
    EXPECT_NEAR(static_cast<double>(growRight - growLeft) / (shrinkRight - shrinkLeft), 2.5, 0.05);

    // The row under a point: the first row starts below the title.
    EXPECT_EQ(SensitivityChartRowAt(100, first->a[1] + 3), 0);
    EXPECT_EQ(SensitivityChartRowAt(100, third->a[1] + 3), 2);
    EXPECT_EQ(SensitivityChartRowAt(100, 100), -1);
}

// A chart too narrow for the field names keeps its bars and shows the
// display names alone; no row text runs into the bars.
TEST(SensitivityDrawing, FieldNamesStandBesideTheNamesWhereThereIsRoom) {
    const SensitivityResult r = HandMadeSensitivity();
    for (const int width : {880, 400}) {
        SCOPED_TRACE(width);
        RecordingCanvas c(900, 600);
        DrawSensitivityChart(c, r, 0, EventFigure::CutOffDiff, 0, 8, 100, width);
        const bool room = width == 880;
        EXPECT_EQ(FindText(c, "(eccFwdRod)") != nullptr, room);
        const auto* name = FindText(c, "1  Eccentric Forward Rod");
        ASSERT_NE(name, nullptr);
        int barLeft = 1 << 30;
        for (const auto& s : c.Segments())
            if (s.y1 == s.y2 && (s.color == Rgb{70, 110, 200} || s.color == Rgb{210, 90, 60}))
                barLeft = std::min(barLeft, s.x1);
        EXPECT_LT(name->a[0] + SansTextWidth(name->text, 11), barLeft);
    }
}

TEST(SensitivityDrawing, TopLimitsTheRowsAndNoResultIsSaid) {
    const SensitivityResult r = HandMadeSensitivity();
    RecordingCanvas c(900, 600);
    DrawSensitivityChart(c, r, 0, EventFigure::CutOffDiff, 1, 8, 100, 880);
    EXPECT_NE(FindText(c, "Eccentric Forward Rod"), nullptr);
    EXPECT_EQ(FindText(c, "2  Stroke"), nullptr);
    c.Reset();
    SensitivityResult cancelled;
    cancelled.cancelled = true;
    DrawSensitivityChart(c, cancelled, 0, EventFigure::CutOffDiff, 5, 8, 100, 880);
    EXPECT_NE(FindText(c, "No sensitivity"), nullptr);
}

TolerancePosition HandMadePosition(float nominal) {
    TolerancePosition p;
    p.position = 6.5f;
    p.nominal.failedSolves = 0;
    p.figures[static_cast<std::size_t>(EventFigure::CutOffDiff)].nominal = nominal;
    FigureSpread& cut = p.figures[static_cast<std::size_t>(EventFigure::CutOffDiff)];
    cut.count = 10;
    cut.p05 = -1.5f;
    cut.median = 0.1f;
    cut.p95 = 1.8f;
    p.histLow = -2;
    p.histHigh = 2;
    p.histogram[0] = 2;
    p.histogram[kToleranceHistogramBins - 1] = 8;
    p.overThreshold = 0.3f;
    return p;
}

TEST(ToleranceDrawing, TheHistogramMarksTheNominalAndTheThreshold) {
    RecordingCanvas c(400, 200);
    DrawToleranceHistogram(c, HandMadePosition(0.0f), 1.0f, "caption", 0, 0, 308, 150);
    EXPECT_NE(FindText(c, "caption"), nullptr);
    EXPECT_NE(FindText(c, "nominal"), nullptr);
    // The red mark in the middle (0 of -2..2), between the axis ends 4 and 304.
    int red = -1;
    for (const auto& s : c.Segments())
        if (s.color == colors::kRed && s.x1 == s.x2) red = s.x1;
    EXPECT_EQ(red, 154);
    // Dashed threshold lines at -1 and +1.
    std::vector<int> dashed;
    for (const auto& s : c.Segments())
        if (s.color == Rgb{96, 96, 96} && s.x1 == s.x2 &&
            std::find(dashed.begin(), dashed.end(), s.x1) == dashed.end())
            dashed.push_back(s.x1);
    EXPECT_EQ(dashed, (std::vector<int>{79, 229}));
    // Two bars: the full bin 8 high, the other a quarter of it.
    int first = 0, last = 0;
    for (const auto& s : c.Segments()) {
        if (s.color != Rgb{70, 110, 200}) continue;
        if (s.x1 < 20) ++first;
        else ++last;
    }
    EXPECT_GT(last, 0);
    EXPECT_NEAR(first * 4, last, 4);
}

TEST(ToleranceDrawing, TheTableSaysWhatFailsAndOddValuesDrawSafely) {
    ToleranceResult r;
    r.samples = 10;
    r.threshold = 1;
    r.positions.assign(2, HandMadePosition(0.25f));
    TolerancePosition& broken = r.positions[1];
    broken.nominal.failedSolves = 3;
    broken.figures[static_cast<std::size_t>(EventFigure::CutOffDiff)].failed = 1;
    broken.figures[static_cast<std::size_t>(EventFigure::CutOffDiff)].count = 0;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    broken.histLow = nan;
    broken.histHigh = std::numeric_limits<float>::infinity();
    broken.figures[static_cast<std::size_t>(EventFigure::CutOffDiff)].nominal = nan;
    RecordingCanvas c(1000, 760);
    DrawToleranceSummary(c, r, 8, 112, 984);
    EXPECT_NE(FindText(c, "0.250"), nullptr);
    const auto* fails = FindText(c, "fails");
    ASSERT_NE(fails, nullptr);
    EXPECT_EQ(fails->style.color, colors::kRed);
    EXPECT_NE(FindText(c, "100.0 %"), nullptr);
    EXPECT_NE(FindText(c, "10 samples"), nullptr);
    for (const auto& op : c.Ops())
        for (int k = 0; k < 4; ++k) EXPECT_LT(std::abs(op.a[k]), 100000) << op.text;
}

} // namespace
} // namespace vx
