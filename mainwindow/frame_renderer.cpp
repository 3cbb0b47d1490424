// The frame as a whole: a white picture with the default pen, then the
// layers in their fixed order.
#include "mainwindow/frame_renderer.h"

#include "data/overlay_layer.h"
#include "mainwindow/dimension_locator_layer.h"
#include "mainwindow/screen_data_layer.h"

namespace vx {

void ComposeFrame(GearState& g, Canvas& c, const FrameServices& s) {
    c.Clear(colors::kWhite);
    c.SetPen(colors::kBlack, g.lineWidth);
    if (g.steamDisplayOn) DrawSteamLayer(g, c, s);
    DrawWindowCaptions(g, c, s);
    DrawMechanismLayer(g, c);
    DrawOverlayLayer(g, c);
    DrawUndoLine(g, c);
    if (g.screenDataOn) DrawScreenDataLayer(g, c, s);
    if (g.locatorDimension != 0) DrawDimensionLocator(g, c);
}

} // namespace vx
