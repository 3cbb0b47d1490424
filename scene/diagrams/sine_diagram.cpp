#include "scene/diagrams/sine_diagram.h"

#include "model/gear/solver.h"

namespace vx {
namespace {

void DrawAngleGrid(Canvas& c) {
    c.SetPen(colors::kBlack, 1);
    for (int i = 1; i <= 9; ++i) {
        for (int k = 6; k <= 58; ++k) c.Line(10 * k, 32 * i + 53, 10 * k, 32 * i + 57);
        for (int k = 1; k <= 6; ++k) c.Line(90 * k, 32 * i + 50, 90 * k, 32 * i + 60);
    }
}

void DrawAngleLabels(Canvas& c) {
    struct Label {
        int x;
        const char* text;
    };
    constexpr Label kLabels[] = {{86, "0"}, {173, "90"}, {260, "180"}, {350, "270"}, {446, "0"}, {533, "90"}};
    for (const Label& l : kLabels) DiagramText(c, l.x, 353, l.text);
    DiagramText(c, 86, 367, "Driver Clockwise Rotation --->");
}

// Driver angle of sample j: 8j + 272 brought to at most 360.
float SampleAngle(int j) {
    auto a = static_cast<float>(8 * j + 272);
    while (a > 360) a -= 360;
    return a;
}

} // namespace

void DrawSineDiagram(const GearState& g, Canvas& c, LeadLapTable* figures) {
    DiagramSolve solve(g);
    const EventValues& events = solve.Now().events;
    const double s = DrawingScale(g);

    DrawAngleGrid(c);
    DrawAngleLabels(c);
    DrawTravelTitles(g, c);
    DrawTravelScale(c, s, 14);
    DrawDiagramHeader(g, c);
    DrawPortLines(events, c, s, kPortLinesLeft, 583);
    DrawPortLineLabels(g, events, c, s, 60, 230);

    DrawLeadLapCurves(g, events, c, figures, [&](int i, float position, LeadTracker& tracker, bool near, LeadLapRow* row) {
        int previousY = 0;
        for (int j = 7; j <= 73; ++j) {
            const float angle = SampleAngle(j);
            const Solution& at = solve.At(angle, position);
            const int y = TravelY(at.events.valveOffset, s);
            if (row) row->AddPoint({angle, at.events.valveOffset, 8 * j + 2, y});
            if (near) tracker.Sample(at.piv.x[4]);
            if (j == 8) DiagramText(c, 45, previousY, StrInt(i, 2), colors::kBlack, true);
            if (j > 7) c.Line(8 * j - 6, previousY, 8 * j + 2, y);
            previousY = y;
        }
    });

    DrawDynVarBlock(g, c);
}

} // namespace vx
