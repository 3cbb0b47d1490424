#include "mainwindow/dimension_locator_layer.h"

namespace vx {

void DrawDimensionLocator(GearState&, Canvas&) {}

} // namespace vx
