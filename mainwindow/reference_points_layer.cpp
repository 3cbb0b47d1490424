#include "mainwindow/reference_points_layer.h"

namespace vx {

void DrawPivotDataDisplay(const GearState&, Canvas&) {}
void DrawReferencePointDisplay(const GearState&, Canvas&) {}

} // namespace vx
