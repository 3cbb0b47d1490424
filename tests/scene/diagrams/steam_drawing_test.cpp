// The steam diagram: the pressure model's phase machines, the drawing's fixed
// parts, the curves and event figures, and what it leaves in the model.
#include <gtest/gtest.h>

#include <cstring>

#include <algorithm>
#include <array>
#include <map>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

#include "scene/diagrams/diagram_common.h"
#include "scene/diagrams/steam_drawing.h"
#include "scene/diagrams/table_drawing.h"
#include "model/gear/ports.h"
#include "model/gear/solver.h"
#include "model/workspace/defaults.h"
#include "model/workspace/view.h"
#include "platform/qt/qt_image_canvas.h"
#include "platform/recording_canvas.h"
#include "tests/kit/hostile_states.h"

namespace vx {
namespace {

using Kind = RecordingCanvas::Kind;
using Op = RecordingCanvas::Op;

// ---- the pressure model ----

struct PhaseStep {
    float p;                 // piston position of the step
    float steam, exhaust;    // the front openings of the step
    IndicatorPhase phase;        // front phase after the step
    double pressure;         // front pressure after the step
};

// One front end through a whole cycle; the pressures follow the model's
// formulas by hand.
TEST(SteamModel, FrontEndRunsThroughItsCycle) {
    const double afterCompression = 5 + std::pow(100.0 / 51 + 0.3, 4);
    const double afterFloor = static_cast<float>(afterCompression) + 100000 * 0.005 / (10 + 45);
    const double expanded = static_cast<float>((20.0 + 100) * 303 / (300 + 100) * 0.96);
    const PhaseStep steps[] = {
        {100, -1, 1, IndicatorPhase::Exhaust, 5},                  // decay stops at 5
        {50, -1, -1, IndicatorPhase::Compression, afterCompression}, // exhaust closed
        {10, 0.002f, -1, IndicatorPhase::Admission, afterFloor},   // port opens: floor 0.005
        {20, 0.5f, -1, IndicatorPhase::Admission, 303},            // admission caps at 303
        {300, -0.1f, -1, IndicatorPhase::Expansion, expanded},     // cut-off
        {500, -0.1f, 0.1f, IndicatorPhase::Exhaust, expanded - expanded / 15}, // release
    };
    IndicatorSimulation s;
    float pPrev = 0;
    for (const PhaseStep& st : steps) {
        SCOPED_TRACE(st.p);
        PortOpenings now{st.p, st.steam, st.exhaust, -1, -1};
        s.pistonPrev = pPrev;
        RunIndicatorPhaseMachines(s, now);
        EXPECT_EQ(s.front.phase, st.phase);
        EXPECT_NEAR(s.front.pressure, st.pressure, 1e-3);
        pPrev = st.p;
    }
    EXPECT_FLOAT_EQ(s.front.releasePressure, static_cast<float>(expanded));
}

TEST(SteamModel, AdmissionFloorIsWrittenIntoTheOpenings) {
    IndicatorSimulation s; // rear starts in admission
    PortOpenings now{600, -1, 1, 0.001f, -1};
    RunIndicatorPhaseMachines(s, now);
    EXPECT_FLOAT_EQ(now.rearSteamOpening, 0.005f);
    EXPECT_FLOAT_EQ(s.rear.pressure, static_cast<float>(100000 * 0.005 / (685 - 600)));
    EXPECT_FLOAT_EQ(now.frontSteamOpening, -1); // the front end was not admitting
    // A wide opening is left as it is.
    PortOpenings wide{600, -1, 1, 0.2f, -1};
    RunIndicatorPhaseMachines(s, wide);
    EXPECT_FLOAT_EQ(wide.rearSteamOpening, 0.2f);
}

// Compression ends when the piston turns back, whatever the valve: the front
// end when the piston moves away from it, the rear end the other way.
TEST(SteamModel, CompressionEndsWhenThePistonTurnsBack) {
    IndicatorSimulation s;
    s.front.phase = IndicatorPhase::Compression;
    s.rear.phase = IndicatorPhase::Compression;
    s.pistonPrev = 10;
    PortOpenings away{20, -1, -1, -1, -1};
    RunIndicatorPhaseMachines(s, away);
    EXPECT_EQ(s.front.phase, IndicatorPhase::Admission);
    EXPECT_EQ(s.rear.phase, IndicatorPhase::Compression);
    s.front.phase = IndicatorPhase::Compression;
    s.pistonPrev = 20;
    PortOpenings back{10, -1, -1, -1, -1};
    RunIndicatorPhaseMachines(s, back);
    EXPECT_EQ(s.front.phase, IndicatorPhase::Compression);
    EXPECT_EQ(s.rear.phase, IndicatorPhase::Admission);
}

TEST(SteamModel, ExpansionWithTheSteamPortOpenGoesBackToAdmission) {
    IndicatorSimulation s;
    s.front = {200, 0, IndicatorPhase::Expansion, true};
    s.pistonPrev = 100;
    PortOpenings now{110, 0.1f, -1, -1, -1};
    RunIndicatorPhaseMachines(s, now);
    EXPECT_EQ(s.front.phase, IndicatorPhase::Admission);
    EXPECT_TRUE(s.front.markerShown); // re-armed only by an admission step
    RunIndicatorPhaseMachines(s, now);
    EXPECT_FALSE(s.front.markerShown);
}

// ---- the drawing ----

GearState StartedGear() {
    GearState g;
    StartUp(g);
    g.revArm.positionCount = 3; // centre, full forward, full reverse
    return g;
}

std::vector<const Op*> TextsAt(const RecordingCanvas& rc, int x, int y) {
    std::vector<const Op*> out;
    for (const Op& op : rc.Ops())
        if (op.kind == Kind::Text && op.a[0] == x && op.a[1] == y) out.push_back(&op);
    return out;
}

int CountTexts(const RecordingCanvas& rc, const std::string& text) {
    int n = 0;
    for (const Op& op : rc.Ops()) n += op.kind == Kind::Text && op.text == text;
    return n;
}

// A text without the spaces that widen its ground.
std::string_view TrimRight(std::string_view text) {
    while (!text.empty() && text.back() == ' ') text.remove_suffix(1);
    return text;
}

// The number a text shows (leading and trailing spaces allowed), or NaN.
double NumberIn(std::string_view text) {
    text = TrimRight(text);
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    double v = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), v);
    return ec == std::errc() && end == text.data() + text.size() ? v : std::nan("");
}

std::string Figure(float percent) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%4.1f", static_cast<double>(percent));
    return buf;
}

// The rear's headings stand left of the plot's frame (x 43) in the narrow
// face, so that "%CutOff" and its ground end before the frame; the front's
// keep the window face.
TEST(SteamDiagram, HeadingsStandClearOfThePlotFrame) {
    GearState g = StartedGear();
    g.revArm.position[1] = g.revArm.centre - 0.8f;
    g.revArm.positionCount = 1;
    RecordingCanvas rc;
    DrawSteamDiagram(g, rc);
    int rear = 0, front = 0;
    for (const Op& op : rc.Ops()) {
        if (op.kind != Kind::Text || op.text != "%CutOff") continue;
        if (op.a[0] < 43) {
            ++rear;
            EXPECT_EQ(op.style.face, FontFace::SansNarrow);
            // The narrow face is under 0.85 of the window face's width.
            EXPECT_LT(op.a[0] + 0.85 * SansTextWidth("%CutOff", op.style.pixelSize) + 3, 43);
        } else {
            ++front;
            EXPECT_EQ(op.style.face, FontFace::Sans);
            EXPECT_GT(op.a[0], 585);
        }
    }
    EXPECT_GT(rear, 0);
    EXPECT_GT(front, 0);
}

// The drawing leaves the gear exactly as it was; the window then keeps the
// last position drawn.
TEST(SteamDiagram, LeavesTheGearAsFoundAndTheWindowKeepsTheLastPosition) {
    GearState g = StartedGear();
    g.motion.driverAngle = 33;
    g.motion.reverseArmPosition = 7;
    const GearState before = g;
    RecordingCanvas rc;
    DrawSteamDiagram(g, rc);
    EXPECT_EQ(g.motion.driverAngle, 33);
    EXPECT_EQ(g.motion.reverseArmPosition, 7);
    EXPECT_EQ(std::memcmp(&g.piv, &before.piv, sizeof g.piv), 0);
    EXPECT_EQ(g.lastDiagramPosition, before.lastDiagramPosition);
    KeepLastDiagramPosition(g);
    EXPECT_EQ(g.lastDiagramPosition, g.revArm.position[3]);
}

TEST(SteamDiagram, FixedPartsAndHeader) {
    GearState g = StartedGear();
    g.revArm.positionCount = 0;
    g.lastDiagramPosition = 1.25f;
    RecordingCanvas rc;
    DrawSteamDiagram(g, rc);
    KeepLastDiagramPosition(g);
    EXPECT_EQ(g.lastDiagramPosition, 1.25f);
    const auto segs = rc.Segments();
    // Grid (9 rows of 19 short and 9 long ticks), two end lines, base line,
    // the pressure arrow's shaft and head.
    ASSERT_EQ(segs.size(), 9u * 28 + 3 + 3);
    for (const auto& s : segs) EXPECT_EQ(s.color, colors::kBlack);
    const auto has = [&](int x1, int y1, int x2, int y2) {
        for (const auto& s : segs)
            if (s.x1 == x1 && s.y1 == y1 && s.x2 == x2 && s.y2 == y2) return true;
        return false;
    };
    EXPECT_TRUE(has(43, 70, 43, 346));
    EXPECT_TRUE(has(585, 70, 585, 346));
    EXPECT_TRUE(has(45, 343, 585, 343));
    EXPECT_TRUE(has(71, 84, 71, 90));    // short tick k = 2, row 1
    EXPECT_TRUE(has(530, 338, 530, 348)); // long tick k = 10, row 9
    EXPECT_TRUE(has(37, 86, 37, 57));     // the arrow beside CYLIN PRESS, pointing up
    EXPECT_TRUE(has(37, 57, 33, 61));
    EXPECT_TRUE(has(37, 57, 41, 61));
    // Drawn as lines: no glyph of a slash or a bar reads as a stray mark.
    for (const char* mark : {"/", "\\", "|"}) EXPECT_EQ(CountTexts(rc, mark), 0) << mark;

    struct Expected {
        int x, y;
        const char* text;
        Rgb color;
    };
    const Expected texts[] = {
        {10, 20, "C", colors::kBlack},     {22, 64, "S", colors::kBlack},
        {43, 350, "100", colors::kGreen},  {577, 348, "0", colors::kGreen},
        {43, 363, "0", colors::kRed},      {565, 363, "100", colors::kRed},
        {186, 377, "Percent Piston Travel", colors::kBlack},
        {386, 377, "Forward End --->", colors::kBlack},
        {500, 0, "Reverse Arm Positions", colors::kBlack},
    };
    for (const Expected& e : texts) {
        const auto at = TextsAt(rc, e.x, e.y);
        ASSERT_EQ(at.size(), 1u) << e.text;
        EXPECT_EQ(at[0]->text, e.text);
        EXPECT_EQ(at[0]->color, e.color) << e.text;
        EXPECT_TRUE(at[0]->style.opaque);
    }
    // No curves, no figures, no headings.
    EXPECT_EQ(CountTexts(rc, "%CutOff"), 0);
}

// The positions' rows, nine of them 9 pixels apart, keep a clear line
// between them: no row's letters reach the next row (the large font scales
// the whole picture, rows and letters alike).
TEST(SteamDiagram, PositionRowsKeepAClearLineBetweenThem) {
    GearState g = StartedGear();
    for (int k = 1; k <= 9; ++k) g.revArm.position[static_cast<std::size_t>(k)] = g.revArm.centre + 0.1f * (k - 5);
    g.revArm.positionCount = 9;
    RecordingCanvas rc;
    DrawSteamDiagram(g, rc);
    std::vector<const RecordingCanvas::Op*> rows;
    for (const auto& op : rc.Ops())
        if (op.kind == RecordingCanvas::Kind::Text && (op.text == "Fwd" || op.text == "Rev" || op.text == "Cen"))
            rows.push_back(&op);
    ASSERT_EQ(rows.size(), 9u);
    // In the window face, as the other diagrams' rows (the narrow face
    // loses strokes at this size).
    for (const auto* row : rows) EXPECT_EQ(row->style.face, FontFace::Sans);
    for (std::size_t i = 1; i < rows.size(); ++i)
        EXPECT_LE(rows[i - 1]->style.pixelSize, rows[i]->a[1] - rows[i - 1]->a[1]) << "row " << i;
}

// Per position, the texts at each figure row are the figures reported, and
// the last text printed there is the last occurrence.
TEST(SteamDiagram, PrintedFiguresAreTheReportedOnes) {
    GearState g = StartedGear();
    RecordingCanvas rc;
    SteamFigures f;
    DrawSteamDiagram(g, rc, &f);
    ASSERT_EQ(f.count, 3);
    const int rowBase[] = {90, 169, 249, 329};
    for (int l = 1; l <= 3; ++l) {
        const SteamPositionFigures& pf = f.positions[static_cast<std::size_t>(l - 1)];
        EXPECT_EQ(pf.position, g.revArm.position[static_cast<std::size_t>(l)]);
        for (int k = 0; k < kSteamFigureCount; ++k) {
            SCOPED_TRACE(testing::Message() << "position " << l << " figure " << k);
            const bool rear = k >= 4;
            const int y = 12 * l + rowBase[k % 4];
            const auto numbers = TextsAt(rc, rear ? 3 : 590, y);
            const auto values = TextsAt(rc, rear ? 15 : 602, y);
            ASSERT_TRUE(pf.found[static_cast<std::size_t>(k)]);
            ASSERT_FALSE(values.empty());
            EXPECT_EQ(numbers.back()->text, std::to_string(l));
            EXPECT_EQ(TrimRight(values.back()->text), Figure(pf.percent[static_cast<std::size_t>(k)]));
        }
    }
    // Full gear forward: cut-off late in the stroke, release after it, both
    // ends alike within a few percent.
    const SteamPositionFigures& fwd = f.positions[1];
    EXPECT_GT(fwd.percent[kFrontCutOff], 60);
    EXPECT_LT(fwd.percent[kFrontCutOff], 80);
    EXPECT_GT(fwd.percent[kFrontRelease], fwd.percent[kFrontCutOff]);
    EXPECT_NEAR(fwd.percent[kRearCutOff], fwd.percent[kFrontCutOff], 5);
    EXPECT_LT(fwd.percent[kFrontAdmission], 2);
    // Headings in their colours.
    for (const auto& [x, y, text, color] :
         {std::tuple{587, 89, "%CutOff", colors::kGreen}, {587, 249, "%Comp", colors::kGreen},
          {587, 169, "%Exh", colors::kPurple}, {587, 329, "%Adm", colors::kPurple},
          {2, 90, "%CutOff", colors::kRed}, {2, 249, "%Comp", colors::kRed},
          {2, 169, "%Exh", colors::kBlue}, {2, 329, "%Adm", colors::kBlue}}) {
        const auto at = TextsAt(rc, x, y);
        ASSERT_FALSE(at.empty()) << text;
        EXPECT_EQ(at.back()->text, text);
        EXPECT_EQ(at.back()->color, color);
    }
}

// Only the last 90 steps of each position draw: one line per step and end,
// plus the cut-off line, all inside the plot, in the end's two pens.
TEST(SteamDiagram, CurvesCoverTheLastTurnOfEachPosition) {
    GearState g = StartedGear();
    RecordingCanvas rc;
    DrawSteamDiagram(g, rc);
    int front = 0, rear = 0;
    for (const auto& s : rc.Segments()) {
        const bool isFront = s.color == colors::kPurple || s.color == colors::kGreen;
        const bool isRear = s.color == colors::kBlue || s.color == colors::kRed;
        front += isFront;
        rear += isRear;
        if (!isFront && !isRear) continue;
        EXPECT_GE(std::min(s.x1, s.x2), 44);
        EXPECT_LE(std::max(s.x1, s.x2), 584);
        EXPECT_LE(std::max(s.y1, s.y2), isFront ? 343 : 341);
        EXPECT_GE(std::min(s.y1, s.y2), isFront ? 343 - 273 : 341 - 273); // 0.9 x 303
    }
    EXPECT_GE(front, 3 * 90);
    EXPECT_LE(front, 3 * 92);
    EXPECT_GE(rear, 3 * 90);
    EXPECT_LE(rear, 3 * 92);
}

// Each curve gets its number once per expansion stroke, in bold, in the
// colour of its end.
TEST(SteamDiagram, MarkersNumberTheCurves) {
    GearState g = StartedGear();
    RecordingCanvas rc;
    DrawSteamDiagram(g, rc);
    std::vector<std::string> front, rear;
    for (const Op& op : rc.Ops()) {
        if (op.kind != Kind::Text || !op.style.bold) continue;
        if (op.a[1] == 122) {
            EXPECT_EQ(op.color, colors::kGreen);
            front.push_back(op.text);
        } else {
            EXPECT_EQ(op.a[1], 135) << op.text;
            EXPECT_EQ(op.color, colors::kRed);
            rear.push_back(op.text);
        }
    }
    // The full gear positions expand enough to be marked, each at most twice
    // (the run covers more than one turn).
    for (const char* n : {"2", "3"}) {
        const auto c = std::count(front.begin(), front.end(), n);
        EXPECT_GE(c, 1) << n;
        EXPECT_LE(c, 2) << n;
    }
}

// The events of the default positions from a sweep of the port openings of
// its own: the driver runs from 96 degrees in steps of 4 (forwards for a
// position below mid gear, backwards otherwise), 150 steps per position,
// carried from one position to the next. A cut-off lies where the steam
// opening, interpolated between two steps, reaches 0; the other events at
// the piston position of the step before the port changed. Front figures
// count from the forward end, rear ones from the other end.
TEST(SteamDiagram, FiguresAreTheEventsOfASweepOfTheOpenings) {
    GearState g = StartedGear();
    RecordingCanvas rc;
    SteamFigures f;
    DrawSteamDiagram(g, rc, &f);
    ASSERT_EQ(f.count, 3);

    GearState h = StartedGear();
    float angle = 96;
    bool first = true;
    PortOpenings prev{};
    for (int l = 1; l <= 3; ++l) {
        const float position = h.revArm.position[static_cast<std::size_t>(l)];
        h.motion.reverseArmPosition = position;
        std::array<double, kSteamFigureCount> expected{};
        std::array<bool, kSteamFigureCount> found{};
        const auto event = [&](int k, double percent) {
            expected[static_cast<std::size_t>(k)] = percent;
            found[static_cast<std::size_t>(k)] = true;
        };
        for (int k = 1; k <= kSteamSteps; ++k) {
            if (position < h.revArm.centre) {
                angle += 4;
                while (angle > 360) angle -= 360;
            } else {
                angle -= 4;
                while (angle < 0) angle += 360;
            }
            h.motion.driverAngle = angle;
            SolveLinkage(h);
            ComputePortOpenings(h);
            PortOpenings now = h.ports;
            // An admitting port is never taken as open by less than 0.005.
            for (float* o : {&now.frontSteamOpening, &now.rearSteamOpening})
                if (*o > 0 && *o < 0.005f) *o = 0.005f;
            if (!first) {
                double pPrev = prev.pistonPosition;
                const double p = now.pistonPosition;
                if (prev.frontSteamOpening > 0 && now.frontSteamOpening <= 0) {
                    pPrev += (p - pPrev) * prev.frontSteamOpening / (prev.frontSteamOpening - now.frontSteamOpening);
                    event(kFrontCutOff, pPrev / 6.4);
                }
                if (prev.frontExhaustOpening <= 0 && now.frontExhaustOpening > 0) event(kFrontRelease, pPrev / 6.4);
                if (prev.frontExhaustOpening > 0 && now.frontExhaustOpening <= 0) event(kFrontCompression, pPrev / 6.4);
                if (prev.frontSteamOpening <= 0 && now.frontSteamOpening > 0) event(kFrontAdmission, pPrev / 6.4);
                if (prev.rearSteamOpening > 0 && now.rearSteamOpening <= 0) {
                    pPrev += (p - pPrev) * prev.rearSteamOpening / (prev.rearSteamOpening - now.rearSteamOpening);
                    event(kRearCutOff, (640 - pPrev) / 6.4);
                }
                if (prev.rearExhaustOpening <= 0 && now.rearExhaustOpening > 0) event(kRearRelease, (640 - pPrev) / 6.4);
                if (prev.rearExhaustOpening > 0 && now.rearExhaustOpening <= 0) event(kRearCompression, (640 - pPrev) / 6.4);
                if (prev.rearSteamOpening <= 0 && now.rearSteamOpening > 0) event(kRearAdmission, (640 - pPrev) / 6.4);
            }
            prev = now;
            first = false;
        }
        const SteamPositionFigures& pf = f.positions[static_cast<std::size_t>(l - 1)];
        const int rowBase[] = {90, 169, 249, 329};
        for (int k = 0; k < kSteamFigureCount; ++k) {
            SCOPED_TRACE(testing::Message() << "position " << l << " figure " << k);
            const auto e = static_cast<std::size_t>(k);
            ASSERT_TRUE(found[e]);
            ASSERT_TRUE(pf.found[e]);
            EXPECT_NEAR(pf.percent[e], expected[e], 0.02);
            const auto values = TextsAt(rc, k >= 4 ? 15 : 602, 12 * l + rowBase[k % 4]);
            ASSERT_FALSE(values.empty());
            EXPECT_NEAR(NumberIn(values.back()->text), expected[e], 0.07) << values.back()->text;
        }
    }
}

// A front port that never closes: no front cut-off, so no front headings,
// while its other figures are still printed.
TEST(SteamDiagram, EndWithoutCutOffHasNoHeadings) {
    GearState g = StartedGear();
    g.cyl.valveFrontHalf() = -10; // the front steam port never covers
    RecordingCanvas rc;
    SteamFigures f;
    DrawSteamDiagram(g, rc, &f);
    EXPECT_TRUE(TextsAt(rc, 587, 89).empty());
    EXPECT_TRUE(TextsAt(rc, 587, 169).empty());
    EXPECT_FALSE(TextsAt(rc, 2, 90).empty());
    for (int l = 0; l < f.count; ++l) {
        EXPECT_FALSE(f.positions[static_cast<std::size_t>(l)].found[kFrontCutOff]);
        EXPECT_FALSE(f.positions[static_cast<std::size_t>(l)].found[kFrontAdmission]);
    }
    EXPECT_TRUE(f.positions[1].found[kFrontRelease]);
}

TEST(SteamDiagram, HostileStatesDrawSafely) {
    // The axes, titles and scales come before anything the state decides,
    // and are the same for every state: those of the default design.
    GearState normal = StartedGear();
    normal.revArm.positionCount = 0;
    RecordingCanvas fixedRc;
    DrawSteamDiagram(normal, fixedRc);
    std::vector<Op> fixed;
    for (const Op& op : fixedRc.Ops()) {
        if (op.kind == Kind::Text && op.text == "Reverse Arm Positions") break;
        fixed.push_back(op);
    }
    ASSERT_GT(fixed.size(), 9u * 28 + 3);
    for (const test::HostileState& h : test::HostileStates()) {
        SCOPED_TRACE(h.name);
        GearState g = test::SolvedHostileState(h);
        g.revArm.positionCount = 3;
        const float angle = g.motion.driverAngle;
        RecordingCanvas rc;
        DrawSteamDiagram(g, rc);
        EXPECT_EQ(std::isnan(g.motion.driverAngle), std::isnan(angle));
        if (!std::isnan(angle)) {
            EXPECT_EQ(g.motion.driverAngle, angle);
        }
        for (const Op& op : rc.Ops()) {
            EXPECT_LE(std::abs(op.a[0]), kPixelLimit + 1000);
            EXPECT_LE(std::abs(op.a[1]), kPixelLimit + 1000);
        }
        ASSERT_GE(rc.Ops().size(), fixed.size());
        for (std::size_t i = 0; i < fixed.size(); ++i) {
            const Op& got = rc.Ops()[i];
            ASSERT_TRUE(got.kind == fixed[i].kind && std::equal(std::begin(got.a), std::end(got.a), std::begin(fixed[i].a)) &&
                        got.text == fixed[i].text &&
                        got.color == fixed[i].color)
                << "drawing step " << i << " differs from the fixed parts";
        }
    }
}

TEST(SteamDiagram, PositionCountOutOfRangeIsClamped) {
    GearState g = StartedGear();
    g.revArm.positionCount = 1000;
    RecordingCanvas rc;
    SteamFigures f;
    DrawSteamDiagram(g, rc, &f);
    EXPECT_EQ(f.count, kRevArmPositions);
    g.revArm.positionCount = -3;
    DrawSteamDiagram(g, rc, &f);
    EXPECT_EQ(f.count, 0);
}

} // namespace
} // namespace vx

namespace vx {
namespace {

// Each figure field shows its last figure and nothing of the wider ones
// drawn there before it: drawn in the window's image, the field's pixels
// are those of its last figure drawn alone. Positions whose figures vary
// between turns (near mid gear) and the full travel, as a user sets them.
TEST(SteamDiagram, FigureFieldsKeepNoRemnantsOfWiderFigures) {
    GearState g = StartedGear();
    const float c0 = g.revArm.centre;
    // Five positions: the rows of more would run into the next event's heading.
    const float offsets[] = {0, -1, 1, -0.05f, 0.05f};
    for (int k = 1; k <= 5; ++k) g.revArm.position[static_cast<std::size_t>(k)] = c0 + offsets[k - 1];
    g.revArm.positionCount = 5;
    GearState forImage = g;
    RecordingCanvas rc(kDiagramWidth, kSteamDiagramHeight);
    DrawSteamDiagram(g, rc);
    QImageCanvas image(kDiagramWidth, kSteamDiagramHeight);
    image.Clear(colors::kWhite);
    DrawSteamDiagram(forImage, image);

    // The last figure at each place of the two figure columns.
    std::map<std::pair<int, int>, const Op*> last;
    for (const Op& op : rc.Ops())
        if (op.kind == Kind::Text && (op.a[0] == 15 || op.a[0] == 602) && op.a[1] > 90) last[{op.a[0], op.a[1]}] = &op;
    ASSERT_GE(last.size(), 40u);
    constexpr int kField = 27; // the rear field ends at the axis (x 43)
    int checked = 0;
    for (const auto& [at, op] : last) {
        QImageCanvas alone(kDiagramWidth, kSteamDiagramHeight);
        alone.Clear(colors::kWhite);
        alone.Text(at.first, at.second, op->text, op->style);
        for (int y = at.second; y < at.second + 12; ++y)
            for (int x = at.first; x < at.first + kField; ++x)
                if (image.Image().pixel(x, y) != alone.Image().pixel(x, y)) {
                    ADD_FAILURE() << "\"" << op->text << "\" at " << at.first << ", " << at.second
                                  << " shows another figure's ink at " << x << ", " << y;
                    x = at.first + kField, y = at.second + 12;
                }
        ++checked;
    }
    EXPECT_EQ(checked, static_cast<int>(last.size()));
}

} // namespace
} // namespace vx
