// The port events diagram: frame, grid, labels, event curves and legend.
#include "scene/diagrams/ports_drawing.h"

#include "base/float_cast.h"

#include <cmath>
#include <optional>

#include "scene/diagrams/diagram_common.h"
#include "model/workspace/motion.h"
#include "model/gear/ports.h"
#include "model/gear/solver.h"
#include "model/workspace/view.h"

namespace vx {
namespace {


constexpr int kBaseY = 343;   // row 0 (mid gear)
constexpr int kRowHeight = 16;

struct EventRule {
    bool opens;        // opening event (O >= 0 after O < 0) or closing event
    bool front;        // port side: the travel is measured from the forward end
    float PortOpenings::*opening;
};

constexpr EventRule kEvents[kPortEventCount] = {
    {true, true, &PortOpenings::frontSteamOpening},   {true, true, &PortOpenings::frontExhaustOpening},
    {true, false, &PortOpenings::rearSteamOpening},   {true, false, &PortOpenings::rearExhaustOpening},
    {false, true, &PortOpenings::frontSteamOpening},  {false, true, &PortOpenings::frontExhaustOpening},
    {false, false, &PortOpenings::rearSteamOpening},  {false, false, &PortOpenings::rearExhaustOpening},
};

int EventX(bool front, float x) {
    return front ? Nearest(0.84375 * D(x)) + 9 : Nearest(540 - 0.84375 * D(x)) + 9;
}

// The height of the normal travel's line, none without a maximum travel.
std::optional<int> NormalTravelY(const GearState& g) {
    const double maxTravel = g.frame.revArmToCentMax;
    const double ratio = D(g.frame.revArmToCentNorm) / maxTravel;
    if (maxTravel == 0 || !std::isfinite(ratio)) return std::nullopt;
    return Nearest(343 - 288 * ratio);
}

void DrawFrameAndLabels(const GearState& g, Canvas& c) {
    c.SetPen(colors::kBlack, 1);
    c.Line(9, 42, 9, 353);
    c.Line(9, 343, 549, 343);
    c.Line(549, 353, 549, 42);
    for (int i = 0; i <= 9; ++i) {
        for (int k = 2; k <= 20; ++k) c.Line(27 * k - 18, 32 * i + 52, 27 * k - 18, 32 * i + 58);
        for (int k = 2; k <= 10; ++k) c.Line(54 * k - 45, 32 * i + 45, 54 * k - 45, 32 * i + 65);
        for (int k = 2; k <= 22; ++k) c.Line(27 * k - 49, 32 * i + 55, 27 * k - 40, 32 * i + 55);
    }

    const TextStyle black = DiagramTextStyle();
    // The normal travel's line; with no maximum travel there is no height to
    // put it at.
    if (const std::optional<int> yN = NormalTravelY(g)) {
        c.SetPen(colors::kBlue, 1);
        c.Line(59, *yN, 650, *yN);
        c.SetPen(colors::kBlack, 1);
    }

    struct Label {
        int x;
        const char* text;
    };
    static constexpr Label kTravel[] = {{10, "0"},   {56, "10"},  {110, "20"}, {164, "30"}, {218, "40"},
                                        {272, "50"}, {326, "60"}, {380, "70"}, {434, "80"}, {488, "90"}};
    for (const Label& l : kTravel) c.Text(l.x, 353, l.text, black);
    c.Text(529, 350, "100", black);
    c.Text(200, 367, "Percent Piston Travel", black);
    c.Text(568, 350, "Center", black);
}

// The texts inside the grid, drawn after the curves so that their boxes
// keep them clear of the grid and the curves: the travels' names, the
// title down the right and the key to the curves' colours.
void DrawKeyTexts(const GearState& g, Canvas& c, PortGraphMode mode) {
    const TextStyle black = DiagramTextStyle();
    c.Text(420, 47, "Maximum", DiagramTextStyle(colors::kRed));
    if (const std::optional<int> yN = NormalTravelY(g)) c.Text(345, *yN - 7, "Normal", DiagramTextStyle(colors::kBlue));

    struct Letter {
        int y;
        const char* text;
    };
    static constexpr Letter kTitle[] = {{76, "R"},  {90, "E"},  {104, "V"}, {118, "E"}, {132, "R"}, {146, "S"},
                                        {160, "E"}, {178, "A"}, {192, "R"}, {206, "M"}, {224, "P"}, {238, "O"},
                                        {252, "S"}, {266, "I"}, {280, "T"}, {294, "I"}, {308, "O"}, {322, "N"}};
    for (const Letter& l : kTitle) c.Text(l.text[0] == 'I' ? 537 : 535, l.y, l.text, black);

    if (mode == PortGraphMode::Reverse) {
        c.Text(415, 321, "Rev.", black);
        c.Text(446, 315, "Front Port", DiagramTextStyle(colors::kGreen));
        c.Text(446, 327, "Rear Port", DiagramTextStyle(colors::kMaroon));
    } else {
        c.Text(415, 290, "Fwd.", black);
        c.Text(446, 284, "Front Port", DiagramTextStyle(colors::kTeal));
        c.Text(446, 296, "Rear Port", DiagramTextStyle(colors::kRed));
    }
}

// The valve cycle drawn around the legend row: admission, expansion,
// exhaust and compression between the front port's four events.
void DrawLegend(Canvas& c, const PortLegendAnchors& an) {
    const TextStyle bold = DiagramTextStyle(colors::kBlack, true);
    const double A = an.admission, C = an.cutOff, E = an.exhaust, K = an.compression;
    auto mv = [&c](double x, int y) { c.MoveTo(Nearest(x), y); };
    auto ln = [&c](double x, int y) { c.LineTo(Nearest(x), y); };

    mv(C - 110, 101);
    ln(C - 70, 101);
    ln(C - 20, 135);
    ln(C, 135);
    ln(C - 12, 131);
    ln(C - 12, 139);
    ln(C, 135);
    c.Text(Nearest(C + 10), 129, "Exp", bold);

    mv(C + 40, 135);
    ln(E, 135);
    ln(E - 12, 131);
    ln(E - 12, 139);
    ln(E, 135);
    mv(E + 8, 135);
    ln(549, 135);
    ln(529, 169);
    ln(E - 160, 169);
    c.Text(Nearest(E - 190), 163, "Exh", bold);

    mv(E - 200, 169);
    ln(K + 100, 169);
    ln(K + 50, 135);
    ln(K, 135);
    ln(K + 12, 131);
    ln(K + 12, 139);
    ln(K, 135);
    c.Text(Nearest(K - 25), 129, "Com", bold);

    mv(K - 30, 135);
    ln(A, 135);
    ln(A + 12, 139);
    ln(A + 12, 131);
    ln(A, 135);
    ln(9, 135);
    ln(27, 101);
    ln(C - 150, 101);
    c.Text(Nearest(C - 140), 95, "Adm", bold);
}

} // namespace

PortGraphMode PortGraphModeOfChoice(int choice) {
    if (choice == kPortChoiceForward) return PortGraphMode::Forward;
    if (choice == kPortChoiceReverse) return PortGraphMode::Reverse;
    return PortGraphMode::Both;
}

int PortGraphChoiceOfMode(PortGraphMode mode) {
    switch (mode) {
    case PortGraphMode::Forward: return kPortChoiceForward;
    case PortGraphMode::Reverse: return kPortChoiceReverse;
    case PortGraphMode::Both: break;
    }
    return kPortChoiceBoth;
}

void DrawPortGraph(const GearState& g, Canvas& c, PortGraphMode mode, bool showLegend, PortGraphFigures* figures) {
    DiagramSolve solve(g);
    const bool reverse = mode == PortGraphMode::Reverse;

    std::array<float, kPortEventCount> last{};
    std::array<bool, kPortEventCount> seen{};
    PortLegendAnchors anchors;
    if (figures) *figures = PortGraphFigures{};

    DrawFrameAndLabels(g, c);

    const Rgb frontPen = reverse ? colors::kGreen : colors::kTeal;
    const Rgb rearPen = reverse ? colors::kMaroon : colors::kRed;
    const double centre = g.revArm.centre;
    const double maxTravel = g.frame.revArmToCentMax;
    for (int i = 0; i < kPortRows; ++i) {
        const float position = F(reverse ? centre + i * maxTravel / 18 : centre - i * maxTravel / 18);
        if (reverse) {
            c.Text(605, 32, "Rev.", DiagramTextStyle());
        } else {
            c.Text(554, 32, "Forward", DiagramTextStyle());
        }
        c.Text(reverse ? 596 : 556, 336 - 16 * i, StrReal(position, 7, 3),
               DiagramTextStyle());
        PortEventRow* row = figures ? &figures->rows[static_cast<std::size_t>(i)] : nullptr;
        if (row) row->position = position;

        float angle = 0;
        PortOpenings prev = solve.Now().ports;
        prev.pistonPosition = 0;
        for (int j = 0; j <= kPortSteps; ++j) {
            angle = StepDiagramAngle(angle, reverse ? -4 : 4);
            const PortOpenings& now = solve.WithPorts(angle, position).ports;
            if (j > 0) {
                for (int e = 0; e < kPortEventCount; ++e) {
                    const EventRule& rule = kEvents[e];
                    const float o = now.*rule.opening;
                    const float oPrev = prev.*rule.opening;
                    const bool happens = rule.opens ? (o >= 0 && oPrev < 0) : (o <= 0 && oPrev > 0);
                    if (!happens) continue;
                    const double p = now.pistonPosition, pPrev = prev.pistonPosition;
                    const float x = F(p - D(o) * (pPrev - p) / (D(oPrev) - D(o)));
                    const auto ue = static_cast<std::size_t>(e);
                    if (seen[ue]) {
                        c.SetPen(rule.front ? frontPen : rearPen, 1);
                        c.Line(EventX(rule.front, last[ue]), kBaseY - kRowHeight * (i - 1), EventX(rule.front, x),
                               kBaseY - kRowHeight * i);
                    }
                    last[ue] = x;
                    seen[ue] = true;
                    if (row) {
                        row->crossing[ue] = x;
                        row->found[ue] = true;
                    }
                    if (i == kPortLegendRow) {
                        const float anchor = F(0.84375 * D(x) + 9);
                        if (e == kFrontSteamOpens) anchors.admission = anchor;
                        if (e == kFrontExhaustOpens) anchors.exhaust = anchor;
                        if (e == kFrontSteamCloses) anchors.cutOff = anchor;
                        if (e == kFrontExhaustCloses) anchors.compression = anchor;
                    }
                }
            }
            prev = now;
        }
    }

    if (figures) figures->anchors = anchors;
    DrawKeyTexts(g, c, mode);
    if (showLegend) DrawLegend(c, anchors);
    DrawDynVarBlock(g, c, DynVarBlockLayout::PortGraph);
}

void DrawPortGraphs(const GearState& g, Canvas& c, PortGraphMode mode, PortGraphFigures* forward,
                    PortGraphFigures* reverse) {
    switch (mode) {
    case PortGraphMode::Forward: DrawPortGraph(g, c, PortGraphMode::Forward, true, forward); return;
    case PortGraphMode::Reverse: DrawPortGraph(g, c, PortGraphMode::Reverse, true, reverse); return;
    case PortGraphMode::Both:
        DrawPortGraph(g, c, PortGraphMode::Forward, true, forward);
        DrawPortGraph(g, c, PortGraphMode::Reverse, false, reverse);
        return;
    }
}

} // namespace vx
