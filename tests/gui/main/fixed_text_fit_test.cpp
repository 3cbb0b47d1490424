// Every fixed text of every window, measured in the face it is drawn in, at
// the default and the large text scale: no two texts' boxes overlap (a text
// drawn again at the same place is meant to cover the old one), and none
// leaves its window. The windows are drawn in a busy state: the longest
// dimension names in the dynamic variables and the undo line, wide values,
// every pick slot in use, a pick prompt, the cut-offs, nine positions.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QFontMetricsF>
#include <QTimer>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "scene/diagrams/diagram_common.h"
#include "gui/diagrams/oval_window.h"
#include "gui/diagrams/port_window.h"
#include "gui/diagrams/sine_window.h"
#include "gui/diagrams/steam_window.h"
#include "scene/diagrams/oval_diagram.h"
#include "scene/diagrams/ports_drawing.h"
#include "scene/diagrams/sine_diagram.h"
#include "scene/diagrams/steam_drawing.h"
#include "scene/frame/frame_renderer.h"
#include "gui/main/main_form.h"
#include "model/workspace/defaults.h"
#include "model/gear/dimensions.h"
#include "platform/clock.h"
#include "platform/random.h"
#include "platform/recording_canvas.h"
#include "platform/scaled_canvas.h"

namespace vx {
namespace {

struct Box {
    int left, top, right, bottom; // the ink; right and bottom exclusive
    std::string text;
    int groundLeft = 0, groundRight = 0; // an opaque text's ground, across the ink's rows
    bool opaque = false;
};

// The box a text's ink takes in the face, size and weight it is drawn in,
// the glyphs set one after the other from its top-left point (spaces at
// either end put ink nowhere), and for an opaque text the ground it lays
// over its whole advance, spaces included.
Box Measure(const RecordingCanvas::Op& op) {
    auto fontOf = [&](FontFace face) {
        const std::string_view family = FontFamily(face);
        QFont f(QString::fromLatin1(family.data(), static_cast<qsizetype>(family.size())));
        f.setPixelSize(op.style.pixelSize);
        f.setBold(op.style.bold);
        f.setKerning(false);
        return f;
    };
    const QFontMetricsF fm(fontOf(op.style.face));
    const double y = op.a[1] + fm.ascent();
    // Run by run in the faces the canvases draw them in (a narrow text's
    // numbers in the sans): the ink from the first glyph that has some to
    // the last, and the whole advance.
    double pen = op.a[0], inkLeft = 0, inkRight = 0, inkTop = 0, inkBottom = 0;
    bool ink = false;
    ForEachFaceRun(op.text, op.style.face, [&](std::string_view run, FontFace face) {
        const QFontMetricsF rm(fontOf(face));
        const QString all = QString::fromUtf8(run.data(), static_cast<qsizetype>(run.size()));
        const QString trimmed = all.trimmed();
        if (!trimmed.isEmpty()) {
            const double x0 = pen + rm.horizontalAdvance(all.left(all.indexOf(trimmed)));
            const QRectF r = rm.tightBoundingRect(trimmed);
            if (!ink) inkLeft = x0 + r.left(), inkTop = y + r.top(), inkBottom = y + r.bottom();
            inkRight = x0 + r.right();
            inkTop = std::min(inkTop, y + r.top());
            inkBottom = std::max(inkBottom, y + r.bottom());
            ink = true;
        }
        pen += rm.horizontalAdvance(all);
    });
    Box b{static_cast<int>(std::floor(inkLeft)), static_cast<int>(std::floor(inkTop)),
          static_cast<int>(std::ceil(inkRight)), static_cast<int>(std::ceil(inkBottom)), op.text};
    if (!ink) b.right = b.left; // spaces only
    b.opaque = op.style.opaque;
    b.groundLeft = op.a[0];
    b.groundRight = static_cast<int>(std::ceil(pen));
    return b;
}

bool Overlap(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// Whether text `later`, drawn after `earlier`, spoils it: their inks touch,
// or the later one's ground covers the earlier one's ink.
bool Spoils(const Box& earlier, const Box& later) {
    if (Overlap(earlier, later)) return true;
    if (!later.opaque) return false;
    Box ground = later;
    ground.left = later.groundLeft;
    ground.right = later.groundRight;
    return Overlap(earlier, ground);
}

// Texts the layout puts together on purpose: the glyphs of an arrow.
bool OnPurpose(const Box& a, const Box& b) {
    auto arrow = [](const std::string& t) { return t == "/" || t == "\\" || t == "|"; };
    return arrow(a.text) && arrow(b.text);
}

std::string Describe(const Box& b) {
    std::ostringstream os;
    os << "\"" << b.text << "\" [" << b.left << ", " << b.top << " .. " << b.right << ", " << b.bottom << ")";
    return os.str();
}

// The fixed texts of a drawing: those on the window (texts tied to moving
// parts are drawn far outside in these states, and the curves' numbers
// are left out) that are not empty.
std::vector<Box> FixedTexts(const RecordingCanvas& c) {
    std::vector<Box> out;
    for (const auto& op : c.Ops()) {
        if (op.kind != RecordingCanvas::Kind::Text) continue;
        if (op.a[0] < -1000 || op.a[0] > 5000 || op.a[1] < -1000 || op.a[1] > 5000) continue;
        // A curve's number in bold rides on its curve.
        if (op.style.bold && !op.text.empty() &&
            op.text.find_first_not_of(" 0123456789") == std::string::npos)
            continue;
        Box b = Measure(op);
        if (b.right <= b.left) continue; // spaces only
        out.push_back(b);
    }
    return out;
}

// The controls shown on a window's client area, as boxes in its pixels.
std::vector<Box> Controls(const QWidget* client) {
    std::vector<Box> out;
    for (const QWidget* w : client->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!w->isVisibleTo(client) || w->geometry().isEmpty()) continue;
        const QRect r = w->geometry();
        out.push_back({r.left(), r.top(), r.right() + 1, r.bottom() + 1, w->objectName().toStdString()});
    }
    return out;
}

void CheckFit(const std::vector<Box>& texts, int width, int height, const std::vector<Box>& controls = {}) {
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const Box& a = texts[i];
        for (const Box& w : controls)
            if (Overlap(a, w)) ADD_FAILURE() << Describe(a) << " runs under the control " << w.text;
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= width && a.bottom <= height)
            << Describe(a) << " leaves the " << width << " x " << height << " window";
        for (std::size_t j = i + 1; j < texts.size(); ++j) {
            const Box& b = texts[j];
            // A text drawn again at its place is meant to cover the one before.
            const bool samePlace = a.groundLeft == b.groundLeft && a.top == b.top;
            if (!samePlace && !OnPurpose(a, b) && Spoils(a, b)) ADD_FAILURE() << Describe(a) << " overlaps " << Describe(b);
        }
    }
}

// The longest names of the dimension table, with wide values, in the four
// slots and the undo line.
void FillBusyDynVars(GearState& g) {
    const int ids[4] = {119, 121, 120, 114};
    for (int k = 0; k < 4; ++k) {
        const DimensionInfo* d = FindDimension(ids[k]);
        g.dynVarSlots[static_cast<std::size_t>(k + 1)] = {ids[k], -123.456f, d->shortName};
    }
    g.dynVarDisplay = g.undoDisplay = true;
    g.undoCount = 99;
    g.undo[1] = {119, -1234.567f, -123.456f, FindDimension(119)->shortName};
}

void SetTextScale(GearState& g, bool large) {
    g.textScaleX = large ? 1.27f : 1.0f;
    g.textScaleY = large ? 1.22f : 1.0f;
}

int Scaled(int v, float f) { return static_cast<int>(std::lround(v * static_cast<double>(f))); }

TEST(FixedTextFit, MainPicture) {
    for (bool large : {false, true}) {
        SCOPED_TRACE(large ? "large" : "default");
        GearState g;
        StartUp(g);
        SetTextScale(g, large);
        FillBusyDynVars(g);
        g.refPointsOn = g.pivotDataOn = true;
        for (int k = 1; k <= kPickSlots; ++k) {
            g.pickInUse[static_cast<std::size_t>(k)] = true;
            g.pickPivot[static_cast<std::size_t>(k)] = static_cast<float>(k);
        }
        g.piv.x[kRefPoint1] = -123.456f;
        for (int p : {kRefPoint1, kRefPoint2}) g.piv.sx[static_cast<std::size_t>(p)] = 100000;
        g.piv.y[kRefPoint2] = -123.456f;
        g.pivotPickPending = true;
        g.overlayChoice.ref = 3; // the longer prompt
        g.motion.tickStep = 10;
        g.picture.frontCutOffShown = g.picture.rearCutOffShown = true;
        g.frontCutOffText = g.rearCutOffText = "  99.9";
        // The gear, and the labels that go with its pivots, far outside.
        g.view.panHorz = 1e5f;
        LcgRandom random(1);
        RecordingCanvas c;
        ComposeFrame(g, c, FrameServices{&random});
        // The window's controls, shown as in this state.
        TMainForm form;
        form.findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
        for (TMainForm::Command k : {TMainForm::Command::DynamicVari, TMainForm::Command::PivotData})
            form.RunCommand(k);
        if (large) form.RunCommand(TMainForm::Command::SetLargeFont);
        form.show();
        form.Tick();
        // The controls move with the texts at the large font.
        const std::vector<Box> controls = Controls(form.findChild<QWidget*>(QStringLiteral("MainCanvas")));
        // The client area, grown with the text places.
        CheckFit(FixedTexts(c), Scaled(632, g.textScaleX), Scaled(380, g.textScaleY), controls);
    }
}

struct DiagramRow {
    const char* name;
    int height;
    int mostPositions; // the steam figures' blocks hold five rows each
    std::function<void(GearState&, Canvas&)> draw;
    std::function<std::unique_ptr<TDiagramWindow>(const DiagramHost&)> window;
};

TEST(FixedTextFit, Diagrams) {
    const DiagramRow rows[] = {
        {"sine", kSineDiagramHeight, 9, [](GearState& g, Canvas& c) { DrawSineDiagram(g, c); },
         [](const DiagramHost& h) { return std::make_unique<TSineDia>(h); }},
        {"oval", kOvalDiagramHeight, 9, [](GearState& g, Canvas& c) { DrawOvalDiagram(g, c); },
         [](const DiagramHost& h) { return std::make_unique<TOvalDia>(h); }},
        {"steam", kSteamDiagramHeight, 5, [](GearState& g, Canvas& c) { DrawSteamDiagram(g, c); },
         [](const DiagramHost& h) { return std::make_unique<TSteamDia>(h); }},
        {"ports", kPortDiagramHeight, 9,
         [](GearState& g, Canvas& c) { DrawPortGraphs(g, c, PortGraphMode::Both); },
         [](const DiagramHost& h) { return std::make_unique<TPortDia>(h); }},
    };
    for (const DiagramRow& r : rows) {
        for (int count : {5, r.mostPositions}) {
            for (bool large : {false, true}) {
                SCOPED_TRACE(std::string(r.name) + " " + std::to_string(count) + (large ? " large" : " default"));
                GearState g;
                StartUp(g);
                const float c0 = g.revArm.centre;
                for (int k = 1; k <= count; ++k)
                    g.revArm.position[static_cast<std::size_t>(k)] = c0 + static_cast<float>(k - 5) * 0.4f;
                g.revArm.positionCount = count;
                SetTextScale(g, large);
                FillBusyDynVars(g);
                // The window draws the default picture, larger as a whole.
                RecordingCanvas c(Scaled(kDiagramWidth, g.textScaleX), Scaled(r.height, g.textScaleY));
                ScaledCanvas scaled(c, g.textScaleX, g.textScaleY);
                r.draw(g, scaled);
                // The window's own controls, shown as with the dynamic variables.
                GearState shown = g;
                DiagramHost host;
                host.model = &shown;
                std::unique_ptr<TDiagramWindow> window = r.window(host);
                window->open();
                QApplication::processEvents();
                QApplication::processEvents();
                const std::vector<Box> controls = Controls(window->findChild<QWidget*>(QStringLiteral("DiagramCanvas")));
                window->done(0);
                ASSERT_EQ(controls.size(), 6u); // Close, UnDo and the four bars
                // The window grows with the picture.
                CheckFit(FixedTexts(c), Scaled(kDiagramWidth, g.textScaleX), Scaled(r.height, g.textScaleY), controls);
            }
        }
    }
}

// The steam diagram's header stands over its card: with five positions its
// rows end above the card and its frame, no line of the drawing crosses them.
TEST(FixedTextFit, SteamHeaderRowsEndAboveTheCard) {
    GearState g;
    StartUp(g);
    const float c0 = g.revArm.centre;
    for (int k = 1; k <= 5; ++k) g.revArm.position[static_cast<std::size_t>(k)] = c0 + static_cast<float>(k - 3) * 0.8f;
    g.revArm.positionCount = 5;
    RecordingCanvas c(kDiagramWidth, kSteamDiagramHeight);
    DrawSteamDiagram(g, c);
    std::vector<Box> rows;
    for (const auto& op : c.Ops())
        if (op.kind == RecordingCanvas::Kind::Text && op.a[0] >= 533 && op.a[1] > 13 && op.a[1] < 80)
            rows.push_back(Measure(op));
    ASSERT_EQ(rows.size(), 15u); // five rows of three texts
    for (const RecordingCanvas::Segment& sg : c.Segments()) {
        const int n = std::max(std::abs(sg.x2 - sg.x1), std::abs(sg.y2 - sg.y1));
        for (int k = 0; k <= n; ++k) {
            const int x = sg.x1 + (n == 0 ? 0 : (sg.x2 - sg.x1) * k / n);
            const int y = sg.y1 + (n == 0 ? 0 : (sg.y2 - sg.y1) * k / n);
            for (const Box& b : rows)
                if (x >= b.left && x < b.right && y >= b.top && y < b.bottom) {
                    ADD_FAILURE() << Describe(b) << " is crossed by a line at " << x << ", " << y;
                    return;
                }
        }
    }
}

} // namespace
} // namespace vx
