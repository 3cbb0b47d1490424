// The frame as a whole: a white picture with the default pen, then the
// layers in their fixed order.
#include "mainwindow/frame_renderer.h"

namespace vx {

void ComposeFrame(const GearState& g, Canvas& c) {
    c.Clear(colors::kWhite);
    c.SetPen(colors::kBlack, g.lineWidth);
    if (g.steamDisplayOn) DrawSteamLayer(g, c);
    DrawWindowCaptions(g, c);
    DrawMechanismLayer(g, c);
    DrawOverlayLayer(g, c);
    if (g.screenDataOn) DrawScreenDataLayer(g, c);
    if (g.locatorDimension != 0) DrawDimensionLocator(g, c);
}

// Layers not drawn yet: each one draws nothing until it is written.
void DrawSteamLayer(const GearState&, Canvas&) {}
void DrawWindowCaptions(const GearState&, Canvas&) {}
void DrawOverlayLayer(const GearState&, Canvas&) {}
void DrawScreenDataLayer(const GearState&, Canvas&) {}
void DrawDimensionLocator(const GearState&, Canvas&) {}

} // namespace vx
