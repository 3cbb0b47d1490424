// Text helpers of the main picture's fixed text layout: numbers in the w:d
// format into fixed buffers (no allocation), and positions scaled by the
// large-font factors.
#pragma once

#include <string_view>

#include "model/state/display_state.h"
#include "base/fixed_format.h"
#include "model/state/gear_state.h"
#include "model/workspace/view.h"
#include "platform/canvas.h"

namespace vx {

// A position of the fixed text layout, scaled by the large-font factors.
inline CanvasPoint ScaledPoint(const GearState& g, int x, int y) {
    return {Nearest(x * static_cast<double>(g.textScaleX)), Nearest(y * static_cast<double>(g.textScaleY))};
}

// A text style of the fixed text layout: its pixel size grows with the
// places, by the vertical factor (the large font is the default layout,
// larger).
inline TextStyle LayoutStyle(const GearState& g, TextStyle style) {
    const std::int32_t px = Nearest(style.pixelSize * static_cast<double>(g.textScaleY));
    style.pixelSize = px < 1 ? 1 : (px > 1000 ? 1000 : px);
    return style;
}

// Text at a fixed layout position (scaled), in the given style (scaled).
inline void LayoutText(const GearState& g, Canvas& c, int x, int y, std::string_view text,
                       const TextStyle& style = {}) {
    const CanvasPoint p = ScaledPoint(g, x, y);
    c.Text(p.x, p.y, text, LayoutStyle(g, style));
}

} // namespace vx
