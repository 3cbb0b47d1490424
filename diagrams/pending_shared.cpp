#include "diagrams/pending_shared.h"

#include <cstdio>

#include "model/view.h"

namespace vx::pending {

const char* StrFixed(char* buf, std::size_t n, double v, int w, int d) {
    std::snprintf(buf, n, "%*.*f", w, d, v);
    return buf;
}

const char* StrInt(char* buf, std::size_t n, int v, int w) {
    std::snprintf(buf, n, "%*d", w, v);
    return buf;
}

TextStyle DiagramText(Rgb color, bool bold) {
    TextStyle t;
    t.color = color;
    t.bold = bold;
    t.opaque = true;
    return t;
}

void DrawHeaderTop(const GearState& g, Canvas& c) {
    const double fx = g.textScaleX;
    char buf[64];
    c.Text(Nearest(fx * 500), 0, "Reverse Arm Positions", DiagramText());
    c.Text(Nearest(fx * 520), 13, "Center", DiagramText());
    c.Text(Nearest(fx * 580), 13, StrFixed(buf, sizeof buf, g.revArm.centre, 6, 3), DiagramText());
}

void DrawHeaderRow(const GearState& g, Canvas& c, int i, float position) {
    const double fx = g.textScaleX, fy = g.textScaleY;
    const int y = Nearest(i * fy * 12) + 12;
    char buf[64];
    c.Text(Nearest(fx * 545), y, StrInt(buf, sizeof buf, i, 5), DiagramText());
    c.Text(Nearest(fx * 580), y, StrFixed(buf, sizeof buf, position, 6, 3), DiagramText());
    const char* dir = position < g.revArm.centre ? "Fwd" : position > g.revArm.centre ? "Rev" : "Cen";
    c.Text(Nearest(fx * 533), y, dir, DiagramText());
}

void DrawDynVarBlock(GearState&, Canvas&) {}

} // namespace vx::pending
