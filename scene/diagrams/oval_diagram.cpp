#include "scene/diagrams/oval_diagram.h"

#include <cmath>

#include "model/gear/solver.h"
#include "model/workspace/view.h"

namespace vx {
namespace {

void DrawTravelAxis(Canvas& c) {
    c.SetPen(colors::kBlack, 1);
    c.Line(44, 84, 44, 346);
    c.Line(584, 84, 584, 346);
    struct Label {
        int x;
        const char* text;
    };
    // "100" stands clear of the travel scale's ticks, which end at the
    // axis (x 44): right beside them it read as "-100".
    constexpr Label kLabels[] = {{49, "100"}, {91, "90"},  {145, "80"}, {199, "70"}, {253, "60"},
                                 {307, "50"}, {361, "40"}, {415, "30"}, {469, "20"}, {523, "10"}};
    for (const Label& l : kLabels) DiagramText(c, l.x, 353, l.text);
    DiagramText(c, 577, 348, "0");
    DiagramText(c, 186, 367, "Percent Piston Travel");
    DiagramText(c, 386, 367, "Forward End --->");
}

// Driver angle of sample j: 88 - 8j brought to at least 0.
float SampleAngle(int j) {
    auto a = static_cast<float>(88 - 8 * j);
    while (a < 0) a += 360;
    return a;
}

} // namespace

int OvalPistonX(const Design& g, float theta, bool* guarded) {
    const double t = theta * kDegToRad;
    const float stroke = g.frame.stroke;
    const float rod = g.frame.mainRodLength;
    const auto r = static_cast<float>(stroke / 2.0);
    const auto rs = static_cast<float>(r * std::sin(t));
    bool fired = false; // a guarded figure draws where the guard puts it
    const auto root =
        static_cast<float>(RootOfMagnitude(static_cast<double>(rod) * rod - static_cast<double>(rs) * rs, fired));
    const double divisor = ClampDivisor(stroke, fired);
    if (guarded != nullptr) *guarded = fired;
    const double fraction = std::cos(t) + 2.0 * root / divisor - 2.0 * rod / divisor;
    return Nearest(fraction * 270.5 + 314.0);
}

void DrawOvalDiagram(const GearState& g, Canvas& c, LeadLapTable* figures) {
    DiagramSolve solve(g);
    const EventValues& events = solve.Now().events;
    const double s = DrawingScale(g);
    const bool above = RearHalfAbovePort(g);

    DrawPistonTravelGrid(c);
    DrawTravelAxis(c);
    DrawTravelTitles(g, c);
    DrawTravelScale(c, s, 15);
    DrawDiagramHeader(g, c);
    DrawPortLines(events, c, s, kPortLinesLeft, 584);
    DrawPortLineLabels(g, events, c, s, 430, 75);

    DrawLeadLapCurves(g, events, c, figures, [&](int i, float position, LeadTracker& tracker, bool near, LeadLapRow* row) {
        float previousV = 0;
        int previousX = 0;
        for (int j = 7; j <= 52; ++j) {
            const float theta = SampleAngle(j);
            const Solution& at = solve.At(theta, position);
            const float v = at.events.valveOffset;
            if (near) tracker.Sample(at.piv.x[4]);
            if (j == 22) DiagramText(c, 300, Nearest((above ? 204 : 213) - previousV * 375.0 / s), StrInt(i, 2), colors::kBlack, true);
            if (j == 46) DiagramText(c, 334, Nearest((above ? 213 : 204) - previousV * 375.0 / s), StrInt(i, 2), colors::kBlack, true);
            const int x = OvalPistonX(g, theta);
            if (row) row->AddPoint({theta, v, x, TravelY(v, s)});
            if (j > 7) c.Line(previousX, TravelY(previousV, s), x, TravelY(v, s));
            previousV = v;
            previousX = x;
        }
    });

    DrawDynVarBlock(g, c);
}

} // namespace vx
