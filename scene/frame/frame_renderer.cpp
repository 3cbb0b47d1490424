// The frame as a whole: a white picture with the default pen, then the
// layers in their fixed order.
#include "scene/frame/frame_renderer.h"

#include "scene/frame/dimension_locator_layer.h"
#include "scene/frame/mechanism_layer.h"
#include "scene/frame/overlay_layer.h"
#include "scene/frame/screen_data_layer.h"
#include "scene/frame/steam_layer.h"

namespace vx {

void ComposeFrame(const GearState& g, Canvas& c, const FrameServices& s) {
    c.Clear(colors::kWhite);
    c.SetPen(colors::kBlack, g.lineWidth);
    if (g.steamDisplayOn) DrawSteamLayer(g, c, s);
    DrawMechanismLayer(g, c);
    DrawOverlayLayer(g, c);
    DrawUndoLine(g, c);
    if (g.screenDataOn) DrawScreenDataLayer(g, c);
    DrawDimensionLocator(g, c);
}

} // namespace vx
