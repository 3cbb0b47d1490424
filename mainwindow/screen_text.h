// Text helpers of the main picture's fixed text layout: numbers in the w:d
// format into fixed buffers (no allocation), and positions scaled by the
// large-font factors.
#pragma once

#include <cstdio>
#include <string_view>

#include "model/display_state.h"
#include "model/gear_state.h"
#include "model/view.h"
#include "platform/canvas.h"

namespace vx {

// Appends v right-aligned in at least `width` characters with `decimals`
// decimals (a longer number is written in full, as far as the buffer
// holds); at most `maxChars` characters of the number are kept.
template <std::size_t N>
void AppendReal(FixedText<N>& out, double v, int width, int decimals, std::size_t maxChars = 64) {
    char buf[64];
    const int n = std::snprintf(buf, sizeof buf, "%*.*f", width, decimals, v);
    if (n <= 0) return;
    std::size_t len = static_cast<std::size_t>(n) < sizeof buf ? static_cast<std::size_t>(n) : sizeof buf - 1;
    if (len > maxChars) len = maxChars;
    out.Append(std::string_view(buf, len));
}

template <std::size_t N>
void AppendInt(FixedText<N>& out, long long v, int width) {
    char buf[32];
    const int n = std::snprintf(buf, sizeof buf, "%*lld", width, v);
    if (n <= 0) return;
    const auto len = static_cast<std::size_t>(n);
    out.Append(std::string_view(buf, len < sizeof buf ? len : sizeof buf - 1));
}

// A position of the fixed text layout, scaled by the large-font factors.
inline CanvasPoint ScaledPoint(const GearState& g, int x, int y) {
    return {Nearest(x * static_cast<double>(g.textScaleX)), Nearest(y * static_cast<double>(g.textScaleY))};
}

// Text at a fixed layout position (scaled), in the given style.
inline void LayoutText(const GearState& g, Canvas& c, int x, int y, std::string_view text,
                       const TextStyle& style = {}) {
    const CanvasPoint p = ScaledPoint(g, x, y);
    c.Text(p.x, p.y, text, style);
}

} // namespace vx
