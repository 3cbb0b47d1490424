// The steam diagram: the pressure model, its phase machines and the drawing.
#include "scene/diagrams/steam_drawing.h"

#include "base/float_cast.h"

#include "scene/diagrams/diagram_common.h"
#include "scene/diagrams/valve_events_drawing.h"
#include "model/workspace/motion.h"
#include "model/gear/ports.h"
#include "model/gear/solver.h"
#include "model/state/display_state.h"
#include "model/workspace/view.h"

namespace vx {
namespace {


// The smallest steam opening an admission step works with.
constexpr float kMinAdmissionOpening = 0.005f;

// The pressure operations of one end. The rear end's formulas are the
// front's with every piston position q replaced by 640 - q.
void ExhaustDecay(IndicatorEnd& e) {
    e.pressure = F(D(e.pressure) - D(e.releasePressure) / 15);
    if (e.pressure < 5) e.pressure = 5;
}

void Compression(IndicatorEnd& e, bool rear, float p, float pPrev) {
    const double ratio = rear ? (640 - D(pPrev)) / (641 - D(p)) : D(pPrev) / (D(p) + 1);
    const double r = ratio + 0.3;
    e.pressure = F(D(e.pressure) + r * r * r * r);
}

void Admission(IndicatorEnd& e, bool rear, float p, float& steamOpening) {
    if (steamOpening < kMinAdmissionOpening) steamOpening = kMinAdmissionOpening;
    const double divisor = rear ? 685 - D(p) : D(p) + 45;
    e.pressure = F(D(e.pressure) + 100000 * D(steamOpening) / divisor);
    if (e.pressure > 303) e.pressure = 303;
}

void Expansion(IndicatorEnd& e, bool rear, float p, float pPrev) {
    if (rear) {
        e.pressure = F((740 - D(pPrev)) * D(e.pressure) / (740 - D(p)) * 0.96);
    } else {
        e.pressure = F((D(pPrev) + 100) * D(e.pressure) / (D(p) + 100) * 0.96);
    }
}

void RunPhaseMachine(IndicatorEnd& e, bool rear, float p, float pPrev, float& steamOpening, float exhaustOpening) {
    switch (e.phase) {
    case IndicatorPhase::Exhaust:
        if (exhaustOpening > 0) {
            ExhaustDecay(e);
        } else {
            Compression(e, rear, p, pPrev);
            e.phase = IndicatorPhase::Compression;
        }
        break;
    case IndicatorPhase::Compression:
        if (steamOpening > 0) {
            Admission(e, rear, p, steamOpening);
            e.phase = IndicatorPhase::Admission;
        } else {
            Compression(e, rear, p, pPrev);
        }
        // Once the piston turns back the end is refilled whatever the valve.
        if (rear ? pPrev > p : pPrev < p) e.phase = IndicatorPhase::Admission;
        break;
    case IndicatorPhase::Admission:
        if (steamOpening > 0) {
            Admission(e, rear, p, steamOpening);
        } else {
            Expansion(e, rear, p, pPrev);
            e.phase = IndicatorPhase::Expansion;
        }
        e.markerShown = false;
        break;
    case IndicatorPhase::Expansion:
        if (exhaustOpening > 0) {
            e.releasePressure = e.pressure;
            ExhaustDecay(e);
            e.phase = IndicatorPhase::Exhaust;
        } else {
            Expansion(e, rear, p, pPrev);
        }
        if (steamOpening > 0) e.phase = IndicatorPhase::Admission;
        break;
    }
}

// Screen coordinates of the plot.
int PlotX(double p) { return Nearest(584 - 0.84375 * p); }

// What differs between the two ends' drawing blocks.
struct EndLook {
    bool rear;
    double baseY;        // pressure y = baseY - 0.9 * pressure
    Rgb openPen;         // exhaust and admission
    Rgb closedPen;       // compression and expansion
    int headingX;
    int numberX, figureX;
    int headingY[4];     // cut-off, release, compression, admission
    double markerX;      // marker x = markerX - 0.84 * p_prev
    int markerY;
};

constexpr EndLook kFrontLook{false, 343, colors::kPurple, colors::kGreen, 587, 590, 602, {89, 169, 249, 329}, 568, 122};
constexpr EndLook kRearLook{true, 341, colors::kBlue, colors::kRed, 2, 3, 15, {90, 169, 249, 329}, 600, 135};

// Rows of the figures, per event: y = 12 l + base.
constexpr int kFigureRowBase[4] = {90, 169, 249, 329};

int PressureY(const EndLook& look, double pressure) { return Nearest(look.baseY - 0.9 * pressure); }

// One drawing pass's state beyond the pressure model.
struct Pass {
    const GearState& g;
    Canvas& c;
    IndicatorSimulation sim;
    float frontPrev = 0, rearPrev = 0; // pressures at the previous step
    PortOpenings prevOpenings;
    SteamPositionFigures* figures = nullptr;
    PortOpenings now; // this step's
};

// A figure is drawn again at each occurrence of its event in the
// position's turns, over the one before, which may be wider ("100.0" under
// " 6.5"). Spaces after it widen its ground to the field's whole width, so
// that nothing of an earlier figure shows beside it: the field runs from
// the figure's column to the axis (rear) or the window's edge (front).
constexpr int kFigureFieldWidth = 28;

FixedText<16> FigureFieldText(std::string_view figure) {
    FixedText<16> t;
    t.Append(figure);
    while (t.size < t.chars.size()) {
        t.AppendSpaces(1);
        if (SansTextWidth(t.View(), DiagramTextStyle().pixelSize) > kFigureFieldWidth) {
            --t.size;
            break;
        }
    }
    return t;
}

void PrintFigure(Pass& s, const EndLook& look, int event, int l) {
    const float percent = look.rear ? F((640 - D(s.sim.pistonPrev)) / 6.4) : F(D(s.sim.pistonPrev) / 6.4);
    const int y = 12 * l + kFigureRowBase[event];
    DiagramText(s.c, look.numberX, y, StrInt(l, 1));
    DiagramText(s.c, look.figureX, y, FigureFieldText(StrReal(percent, 4, 1)).View());
    if (s.figures) {
        const int k = (look.rear ? kRearCutOff : kFrontCutOff) + event;
        s.figures->percent[static_cast<std::size_t>(k)] = percent;
        s.figures->found[static_cast<std::size_t>(k)] = true;
    }
}

// The drawing block of one end for step k of position l.
void DrawEndBlock(Pass& s, const EndLook& look, int k, int l) {
    IndicatorEnd& end = look.rear ? s.sim.rear : s.sim.front;
    float& pressurePrev = look.rear ? s.rearPrev : s.frontPrev;
    const PortOpenings& now = s.now;
    const float steam = look.rear ? now.rearSteamOpening : now.frontSteamOpening;
    const float exhaust = look.rear ? now.rearExhaustOpening : now.frontExhaustOpening;
    const float steamPrev = look.rear ? s.prevOpenings.rearSteamOpening : s.prevOpenings.frontSteamOpening;
    const float exhaustPrev = look.rear ? s.prevOpenings.rearExhaustOpening : s.prevOpenings.frontExhaustOpening;
    const float p = now.pistonPosition;
    float& pPrev = s.sim.pistonPrev;
    const bool drawn = k >= kSteamFirstDrawnStep;

    const bool open = end.phase == IndicatorPhase::Exhaust || end.phase == IndicatorPhase::Admission;
    s.c.SetPen(open ? look.openPen : look.closedPen, 1);

    if (steamPrev > 0 && steam <= 0) { // cut-off
        const double f = D(steamPrev) / (D(steamPrev) - D(steam));
        const float cutOff = F(D(pPrev) + (D(p) - D(pPrev)) * f);
        if (drawn) {
            s.c.SetPen(look.openPen, 1);
            const int y = PressureY(look, pressurePrev);
            s.c.Line(PlotX(pPrev), y, PlotX(cutOff), y);
            s.c.SetPen(look.closedPen, 1);
        }
        pPrev = cutOff;
        end.pressure = F(D(end.pressure) - f * (D(end.pressure) - D(pressurePrev)));
        // The rear's headings stand in the 41 pixels left of the plot's
        // frame, too narrow for "%CutOff" in the window face, whose ground
        // would cover the frame: there they take the narrow face.
        TextStyle heading = DiagramTextStyle(look.closedPen);
        if (look.rear) heading.face = FontFace::SansNarrow;
        s.c.Text(look.headingX, look.headingY[0], "%CutOff", heading);
        s.c.Text(look.headingX, look.headingY[2], "%Comp", heading);
        heading.color = look.openPen;
        s.c.Text(look.headingX, look.headingY[1], "%Exh", heading);
        s.c.Text(look.headingX, look.headingY[3], "%Adm", heading);
        PrintFigure(s, look, 0, l);
    }
    if (exhaustPrev <= 0 && exhaust > 0) PrintFigure(s, look, 1, l); // release
    if (exhaustPrev > 0 && exhaust <= 0) PrintFigure(s, look, 2, l); // compression
    if (steamPrev <= 0 && steam > 0) PrintFigure(s, look, 3, l);     // admission
    if (drawn) {
        s.c.Line(PlotX(pPrev), PressureY(look, pressurePrev), PlotX(p), PressureY(look, end.pressure));
    }
    if (end.phase == IndicatorPhase::Expansion && end.pressure > 150 && end.pressure < 250 && !end.markerShown) {
        end.markerShown = true;
        DiagramText(s.c, Nearest(look.markerX - 0.84 * D(pPrev)), look.markerY, StrInt(l, 1), look.closedPen, true);
    }
}

void DrawFixedParts(const GearState& g, Canvas& c) {
    DrawPistonTravelGrid(c);
    c.Line(43, 70, 43, 346);
    c.Line(585, 70, 585, 346);

    const TextStyle black = DiagramTextStyle();
    // Pressure axis: the words CYLIN PRESS with an upward arrow beside
    // them, drawn as lines (glyphs of slashes and bars read as stray marks).
    c.Line(37, 86, 37, 57);
    c.Line(37, 57, 33, 61);
    c.Line(37, 57, 41, 61);
    static constexpr const char* kCyl[] = {"C", "Y", "L", "I", "N"};
    static constexpr const char* kPress[] = {"P", "R", "E", "S", "S"};
    for (int i = 0; i < 5; ++i) {
        c.Text(10, 20 + 11 * i, kCyl[i], black);
        c.Text(22, 20 + 11 * i, kPress[i], black);
    }

    // Travel scales: front from the forward end (right), rear from the other.
    struct Label {
        int x;
        const char* text;
    };
    static constexpr Label kFront[] = {{43, "100"}, {91, "90"},  {145, "80"}, {199, "70"}, {253, "60"},
                                       {307, "50"}, {361, "40"}, {415, "30"}, {469, "20"}, {523, "10"}};
    static constexpr Label kRear[] = {{43, "0"},   {91, "10"},  {145, "20"}, {199, "30"}, {253, "40"}, {307, "50"},
                                      {361, "60"}, {415, "70"}, {469, "80"}, {523, "90"}, {565, "100"}};
    const TextStyle green = DiagramTextStyle(colors::kGreen);
    for (const Label& l : kFront) c.Text(l.x, 350, l.text, green);
    c.Text(577, 348, "0", green);
    const TextStyle red = DiagramTextStyle(colors::kRed);
    for (const Label& l : kRear) c.Text(l.x, 363, l.text, red);
    c.Text(186, 377, "Percent Piston Travel", black);
    c.Text(386, 377, "Forward End --->", black);
    c.Line(45, 343, 585, 343);

    DrawDiagramHeader(g, c);
}

} // namespace

void RunIndicatorPhaseMachines(IndicatorSimulation& s, PortOpenings& now) {
    const float p = now.pistonPosition;
    RunPhaseMachine(s.front, false, p, s.pistonPrev, now.frontSteamOpening, now.frontExhaustOpening);
    RunPhaseMachine(s.rear, true, p, s.pistonPrev, now.rearSteamOpening, now.rearExhaustOpening);
}

void DrawSteamDiagram(const GearState& g, Canvas& c, SteamFigures* figures) {
    DiagramSolve solve(g);
    Pass s{g, c, IndicatorSimulation{}, 0, 0, g.ports, nullptr, g.ports};
    float angle = kSteamStartAngle;
    DrawFixedParts(g, c);
    c.SetPen(colors::kBlack, 1);

    const int count = DrawnPositionCount(g);
    if (figures) *figures = SteamFigures{};
    for (int l = 1; l <= count; ++l) {
        const float position = g.revArm.position[static_cast<std::size_t>(l)];
        s.sim.front.markerShown = false;
        s.sim.rear.markerShown = false;
        if (figures) {
            figures->count = l;
            s.figures = &figures->positions[static_cast<std::size_t>(l - 1)];
            s.figures->position = position;
        }
        DrawHeaderRow(g, c, l, position, HeaderRows::Compact);
        const bool forward = SteamDiagramTurnsForward(position, g.revArm.centre);
        for (int k = 1; k <= kSteamSteps; ++k) {
            const double step = kSteamAngleStep;
            angle = StepDiagramAngle(angle, forward ? step : -step);
            s.now = solve.WithPorts(angle, position).ports;
            RunIndicatorPhaseMachines(s.sim, s.now);
            if (s.frontPrev != 0) {
                DrawEndBlock(s, kFrontLook, k, l);
                DrawEndBlock(s, kRearLook, k, l);
            }
            s.sim.pistonPrev = s.now.pistonPosition;
            s.frontPrev = s.sim.front.pressure;
            s.rearPrev = s.sim.rear.pressure;
            s.prevOpenings = s.now;
        }
    }

    DrawDynVarBlock(g, c);
}

} // namespace vx
