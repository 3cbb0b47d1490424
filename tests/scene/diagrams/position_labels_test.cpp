// Mid gear has one label in every window: the Work and Valve Events tables
// name a row's position as the diagrams' headers do ("Cen" at mid gear).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/fixed_format.h"
#include "model/analysis/valve_events.h"
#include "model/analysis/work.h"
#include "model/workspace/defaults.h"
#include "platform/recording_canvas.h"
#include "scene/diagrams/diagram_common.h"
#include "scene/diagrams/valve_events_drawing.h"
#include "scene/diagrams/work_drawing.h"

namespace vx {
namespace {

std::vector<std::string> Labels(const RecordingCanvas& c) {
    std::vector<std::string> out;
    for (const auto& op : c.Ops())
        if (op.kind == RecordingCanvas::Kind::Text && (op.text == "Fwd" || op.text == "Rev" || op.text == "Cen"))
            out.push_back(op.text);
    return out;
}

TEST(PositionLabels, MidGearIsCenInTheTablesAsInTheHeaders) {
    GearState g;
    ASSERT_EQ(StartUp(g), MidGearResult::Found);
    const float centre = g.revArm.centre;
    const std::vector<float> positions = {centre, centre - 0.5f, centre + 0.5f};
    const std::vector<std::string> expected = {"Cen", "Fwd", "Rev"};

    std::vector<PositionEvents> events;
    std::vector<PositionWork> work;
    for (const float p : positions) {
        events.push_back(ComputeValveEvents(g, p));
        work.push_back(ComputeWork(events.back(), WorkSettings{}, WorkDimensionsOf(g)));
    }
    RecordingCanvas header(900, 600);
    for (std::size_t i = 0; i < positions.size(); ++i)
        DrawHeaderRow(g, header, static_cast<int>(i) + 1, positions[i]);
    EXPECT_EQ(Labels(header), expected);

    RecordingCanvas workTable(1200, 600);
    DrawWorkTable(workTable, work, centre, 0, 0, 11);
    EXPECT_EQ(Labels(workTable), expected);

    // The first of the two tables names the positions.
    RecordingCanvas eventTables(1400, 900);
    DrawValveEventsTables(eventTables, events, EventThresholds{}, centre, 0, 0, 11);
    EXPECT_EQ(Labels(eventTables), expected);
}

// The front-minus-rear column shows as many decimals as front and rear
// beside it, and the tractive effort's column says its unit.
TEST(TableColumns, DifferencesShareTheirFiguresDecimalsAndEffortHasAUnit) {
    GearState g;
    ASSERT_EQ(StartUp(g), MidGearResult::Found);
    const PositionEvents e = ComputeValveEvents(g, g.revArm.centre - g.frame.revArmToCentNorm);
    ASSERT_TRUE(e.front.cutOff && e.rear.cutOff);
    RecordingCanvas events(1400, 900);
    const std::vector<PositionEvents> rows = {e};
    DrawValveEventsTables(events, rows, EventThresholds{100, 10}, g.revArm.centre, 0, 0, 11);
    const double d = static_cast<double>(*e.front.cutOff) - static_cast<double>(*e.rear.cutOff);
    bool two = false, four = false;
    for (const auto& op : events.Ops()) {
        if (op.kind != RecordingCanvas::Kind::Text) continue;
        two = two || op.text == FixedString(d, 2);
        four = four || op.text == FixedString(d, 4);
    }
    EXPECT_TRUE(two);
    EXPECT_FALSE(four);

    RecordingCanvas work(1200, 600);
    const std::vector<PositionWork> w = {ComputeWork(e, WorkSettings{}, WorkDimensionsOf(g))};
    DrawWorkTable(work, w, g.revArm.centre, 0, 0, 11);
    bool unit = false;
    for (const auto& op : work.Ops()) unit = unit || op.text.find("p*L^2") != std::string::npos;
    EXPECT_TRUE(unit);
}

} // namespace
} // namespace vx
