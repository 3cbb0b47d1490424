#include "data/overlay_layer.h"

namespace vx {

void DrawOverlayLayer(const GearState&, Canvas&) {}
void DrawOverlayPickPrompts(const GearState&, Canvas&) {}

} // namespace vx
