// The mechanism layer: wheel, counterweight, eccentrics, rods, link, arms,
// rocker, cylinder, piston and valve, drawn from the screen points of the
// last tick. Every element sets its own pen, so the order of the elements is
// also the order of the pens. Nothing here allocates.
#include <algorithm>
#include <array>
#include <cmath>

#include "scene/frame/mechanism_layer.h"
#include "model/gear/solver.h"
#include "model/workspace/view.h"

namespace vx {
namespace {

CanvasPoint Pivot(const GearState& g, int n) { return {g.piv.sx[n], g.piv.sy[n]}; }
CanvasPoint Cyl(const GearState& g, int k) { return {g.cylOutline[k].x, g.cylOutline[k].y}; }
CanvasPoint Valve(const GearState& g, int k) { return {g.valveOutline[k].x, g.valveOutline[k].y}; }

void Segment(Canvas& c, CanvasPoint a, CanvasPoint b) { c.Line(a.x, a.y, b.x, b.y); }

template <std::size_t N>
void Polyline(Canvas& c, const std::array<CanvasPoint, N>& pts) {
    c.Polyline(pts.data(), static_cast<int>(N));
}

// A bounding box given by two opposite corners, as the canvas wants it:
// left/top the smaller coordinates.
void EllipseByCorners(Canvas& c, ScreenPoint a, ScreenPoint b) {
    c.Ellipse(std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y));
}

// The circle of world radius r about pivot n: each corner of its box is
// converted to the screen on its own.
void PivotCircle(const GearState& g, Canvas& c, int n, double r) {
    const double x = g.piv.x[n];
    const double y = g.piv.y[n];
    EllipseByCorners(c, WorldToScreen(g.view, x - r, y + r), WorldToScreen(g.view, x + r, y - r));
}

// The counterweight: the 140 degree arc of radius 0.35 D about the axle,
// opposite the crank pin. The radials point at screen direction
// (cos, sin)(a -+ 110 deg); screen y grows downwards, as the crank's does.
void Counterweight(const GearState& g, Canvas& c) {
    const double d = g.frame.driverDia;
    const double zoom = g.view.zoom;
    const double h = g.view.panHorz;
    const double v = g.view.panVert;
    const double box = 0.35 * d * zoom;
    const std::int32_t x1 = Nearest(-box + h), y1 = Nearest(box + v);
    const std::int32_t x2 = Nearest(box + h), y2 = Nearest(-box + v);

    const double a = static_cast<double>(g.motion.driverAngle);
    const double start = (a - 110.0) * kDegToRad;
    const double end = (a + 110.0) * kDegToRad;
    const double reach = d * zoom;
    c.Arc(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2),
          Nearest(std::cos(start) * reach + h), Nearest(std::sin(start) * reach + v),
          Nearest(std::cos(end) * reach + h), Nearest(std::sin(end) * reach + v));
}

// A red X over a fixed pivot. Screen points are clamped well inside the int
// range, so the offsets cannot overflow.
void FixedPivotMark(Canvas& c, CanvasPoint p) {
    c.Line(p.x + 5, p.y + 5, p.x - 6, p.y - 6);
    c.Line(p.x + 5, p.y - 5, p.x - 6, p.y + 6);
}

// Pins after the axle, crank pin, crosshead, rocker end and spindle pin.
constexpr std::array<int, 10> kSmallPins{10, 11, 14, 15, 16, 17, 18, 26, 27, 8};

} // namespace

void DrawMechanismLayer(const GearState& g, Canvas& c) {
    const int w = g.lineWidth;
    const double d = g.frame.driverDia;
    const double ecc = g.frame.eccDia;
    const auto P = [&g](int n) { return Pivot(g, n); };
    const auto C = [&g](int k) { return Cyl(g, k); };
    const auto V = [&g](int k) { return Valve(g, k); };

    // 1. Driving wheel.
    c.SetPen(colors::kBlack, w);
    PivotCircle(g, c, 1, d / 2);

    // 2. Counterweight.
    c.SetPen(colors::kBlack, w);
    Counterweight(g, c);

    // 3, 4. Reverse eccentric rod and sheave.
    c.SetPen(colors::kLime, w);
    Segment(c, P(22), P(11));
    c.SetPen(colors::kLime, w);
    PivotCircle(g, c, 13, ecc / 2);

    // 5, 6. Forward eccentric rod and sheave.
    c.SetPen(colors::kBlue, w);
    Segment(c, P(21), P(10));
    c.SetPen(colors::kBlue, w);
    PivotCircle(g, c, 12, ecc / 2);

    // 7. Pins.
    c.SetPen(colors::kBlack, w);
    PivotCircle(g, c, 1, 0.08 * d);
    PivotCircle(g, c, 2, 0.05 * d);
    PivotCircle(g, c, 3, 0.03 * d);
    PivotCircle(g, c, 5, 0.02 * d);
    PivotCircle(g, c, 4, 0.01 * d);
    for (int n : kSmallPins) PivotCircle(g, c, n, 0.02 * d);

    // 8. Cylinder and steam chest: the outer outline, then the inner one.
    c.SetPen(colors::kGrey, w);
    {
        std::array<CanvasPoint, 14> outer;
        for (int k = 0; k < 14; ++k) outer[k] = C(k);
        Polyline(c, outer);
        std::array<CanvasPoint, 10> inner;
        for (int k = 0; k < 10; ++k) inner[k] = C(14 + k);
        Polyline(c, inner);
    }

    // 9. Radius rod.
    c.SetPen(colors::kFuchsia, w);
    Polyline(c, std::array{P(5), P(8), P(26)});

    // 10. Piston rod.
    c.SetPen(colors::kBlack, w);
    Segment(c, P(3), V(0));

    // 11. Piston.
    c.SetPen(colors::kBlack, w);
    Polyline(c, std::array{V(4), V(1), V(2), V(3), V(4)});

    // 12. Valve stem.
    c.SetPen(colors::kBlack, w);
    Segment(c, P(4), V(5));

    // 13. Slide valve with its cavity.
    c.SetPen(colors::kBlack, w);
    Polyline(c, std::array{V(13), V(6), V(7), V(8), V(9), V(10), V(11), V(12), V(13)});

    // 14. Fixed-pivot marks: frame origin and reverse shaft.
    c.SetPen(colors::kRed, w);
    FixedPivotMark(c, P(0));
    FixedPivotMark(c, P(16));

    // 15. Expansion link and its bracket.
    c.SetPen(colors::kRed, w);
    Polyline(c, std::array{P(14), P(25), P(6), P(7)});
    Segment(c, P(10), P(23));
    Segment(c, P(11), P(24));

    // 16. Main rod.
    c.SetPen(colors::kRed, w);
    Segment(c, P(2), P(3));

    // 17. Radius rod lifting link.
    c.SetPen(colors::kBlue, w);
    Segment(c, P(17), P(26));

    // 18. Expansion link lifting link.
    c.SetPen(colors::kAqua, w);
    Segment(c, P(14), P(15));

    // 19. Lift arms and reverse arm.
    c.SetPen(colors::kLime, w);
    Polyline(c, std::array{P(15), P(16), P(17)});
    Segment(c, P(16), P(18));

    // 20. Reach rod, horizontally to the picture's left edge.
    c.SetPen(colors::kBlack, w);
    Segment(c, P(18), CanvasPoint{0, P(18).y});

    // 21. Rocker.
    c.SetPen(colors::kBlue, w);
    Polyline(c, std::array{P(5), P(27), P(29)});
}

} // namespace vx
