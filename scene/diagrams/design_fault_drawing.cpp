#include "scene/diagrams/design_fault_drawing.h"

#include <string>

#include "model/gear/design_validity.h"
#include "scene/diagrams/diagram_common.h"
#include "scene/diagrams/table_drawing.h"

namespace vx {

bool DrawDesignFault(const GearState& g, Canvas& c) {
    const DesignFault fault = CheckDesignValidity(g);
    if (!fault.Any()) return false;
    constexpr int kPx = 13, kLeft = 16, kTop = 96;
    c.Text(kLeft, kTop, "This design is not usable, so there are no figures to show:",
           SansStyle(kPx, colors::kRed, true));
    c.Text(kLeft, kTop + kPx + 8, DescribeDesignFault(fault), SansStyle(kPx, colors::kRed));
    c.Text(kLeft, kTop + 2 * (kPx + 8),
           "Correct that dimension in the editors (or UnDo the change) and the figures come back.",
           SansStyle(kPx, Rgb{96, 96, 96}));
    DrawDynVarBlock(g, c);
    return true;
}

} // namespace vx
