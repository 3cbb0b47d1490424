// The locator's figure of a dimension, drawn from its case
// (model/workspace/locator.h) through the view the frame's advance chose.
#include "scene/frame/dimension_locator_layer.h"

#include <array>
#include <cmath>

#include "model/gear/dimensions.h"
#include "model/workspace/view.h"
#include "scene/frame/screen_text.h"

namespace vx {
namespace {

using Coord = LocatorCoord;
using Pt = LocatorPoint;
using Set = LocatorSet;
using Shape = LocatorShape;

int ScreenCoord(const GearState& g, Set s, int n, bool wantX) {
    const auto i = static_cast<std::size_t>(n);
    switch (s) {
    case Set::P: return wantX ? g.piv.sx[i] : g.piv.sy[i];
    case Set::C: return wantX ? g.cylOutline[i].x : g.cylOutline[i].y;
    case Set::V: break;
    }
    return wantX ? g.valveOutline[i].x : g.valveOutline[i].y;
}

int Resolve(const GearState& g, const ViewTransform& view, const Coord& c, bool wantX) {
    switch (c.kind) {
    case Coord::Kind::Screen: return ScreenCoord(g, c.set, c.a, wantX) + c.offset;
    case Coord::Kind::Mid: {
        const int a = ScreenCoord(g, c.set, c.a, wantX);
        const int b = ScreenCoord(g, c.set, c.b, wantX);
        return a - (a - b) / 2;
    }
    case Coord::Kind::HalfSum:
        return (ScreenCoord(g, c.set, c.a, wantX) + ScreenCoord(g, c.set, c.b, wantX)) / 2;
    case Coord::Kind::World: break;
    }
    const auto& world = wantX ? g.piv.x : g.piv.y;
    double v = static_cast<double>(c.ka) * world[static_cast<std::size_t>(c.a)] +
               static_cast<double>(c.kb) * world[static_cast<std::size_t>(c.b)];
    if (c.dim != 0)
        if (const DimensionInfo* d = FindDimension(c.dim)) v += static_cast<double>(c.kd) * DimensionValue(g, *d);
    const ScreenPoint p = wantX ? WorldToScreen(view, v, 0) : WorldToScreen(view, 0, v);
    return wantX ? p.x : p.y;
}

CanvasPoint Resolve(const GearState& g, const ViewTransform& view, const Pt& p) {
    return {Resolve(g, view, p.x, true), Resolve(g, view, p.y, false)};
}

void Hourglass(Canvas& c) {
    static constexpr CanvasPoint kTop[] = {{20, 100}, {44, 100}, {44, 104}, {20, 104}, {20, 100}};
    static constexpr CanvasPoint kLeft[] = {{22, 100}, {22, 112}, {30, 120}, {30, 122}, {22, 130}, {22, 142}};
    static constexpr CanvasPoint kRight[] = {{42, 100}, {42, 112}, {34, 120}, {34, 122}, {42, 130}, {42, 142}};
    static constexpr CanvasPoint kBottom[] = {{20, 142}, {44, 142}, {44, 138}, {20, 138}, {20, 142}};
    static constexpr CanvasPoint kSand[] = {{31, 117}, {26, 111}, {37, 111}, {31, 118}};
    c.SetPen(colors::kBlack, 2);
    c.Polyline(kTop, 5);
    c.Polyline(kLeft, 6);
    c.Polyline(kRight, 6);
    c.Polyline(kBottom, 5);
    c.SetPen(colors::kBlack, 1);
    c.Line(24, 136, 32, 127);
    c.Line(39, 136, 31, 127);
    c.Polyline(kSand, 4);
}

TextStyle NameStyle() {
    TextStyle st;
    st.face = FontFace::Serif;
    st.pixelSize = 19; // 14 points
    st.bold = true;
    st.color = colors::kBlack;
    return st;
}

} // namespace

void DrawDimensionLocator(const GearState& g, Canvas& c) {
    const FramePicture& f = g.picture;
    const int id = f.locatorId;
    if (id <= 0) return;
    Hourglass(c);
    Rgb pen = f.locatorRed ? colors::kRed : colors::kBlack;
    c.SetPen(pen, 3);

    if (const LocatorCase* k = FindLocatorCase(id)) {
        const ViewTransform& view = f.locatorView;
        switch (k->shape) {
        case Shape::Line:
        case Shape::Polyline3: {
            const CanvasPoint a = Resolve(g, view, k->pts[0]);
            const CanvasPoint b = Resolve(g, view, k->pts[1]);
            c.Line(a.x, a.y, b.x, b.y);
            if (k->shape == Shape::Polyline3) {
                const CanvasPoint e = Resolve(g, view, k->pts[2]);
                c.LineTo(e.x, e.y);
            }
            break;
        }
        case Shape::Travel: {
            // Mid gear to each end of the travel, the two halves in turn colours.
            const double centre = g.revArm.centre;
            const double n = id == 25 ? g.frame.revArmToCentNorm : g.frame.revArmToCentMax;
            const int y = g.piv.sy[18] + 5;
            auto x = [&view](double world) { return WorldToScreen(view, world, 0).x; };
            auto toggle = [&c, &pen] {
                pen = pen == colors::kBlack ? colors::kRed : colors::kBlack;
                c.SetPen(pen, 3);
            };
            c.MoveTo(x(centre - n), y);
            c.LineTo(x(centre), y);
            toggle();
            c.LineTo(x(centre + n), y);
            toggle();
            break;
        }
        }
        c.Text(Nearest(30.0 * static_cast<double>(g.textScaleX)), Nearest(75.0 * static_cast<double>(g.textScaleY)),
               k->view.name, LayoutStyle(g, NameStyle()));
    }
}

} // namespace vx
