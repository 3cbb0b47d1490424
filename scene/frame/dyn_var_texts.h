// The dynamic-variable texts the main picture and the diagram windows share:
// the "First Select Dimensions" banner (the undo line's text is the model's,
// model/undo_redo.h). Each picture places and styles them its own way.
#pragma once

#include <array>
#include <string_view>

#include "model/state/display_state.h"
#include "model/state/gear_state.h"
#include "model/workspace/undo_redo.h"
#include "platform/canvas.h"

namespace vx {

// The banner shown in place of the dimension names while slot 1 is empty:
// three lines, the second 10 and the third 24 rows below the first.
struct BannerLine {
    int dy;
    std::string_view text;
};
inline constexpr std::array<BannerLine, 3> kFirstSelectBanner{{
    {0, "*******************************"},
    {10, "* First Select Dimensions *"},
    {24, "*******************************"},
}};

// Draws the banner in `style`; `place(dy)` gives the canvas point of a line
// dy rows below the first.
template <class Place>
void DrawFirstSelectBanner(Canvas& c, const TextStyle& style, Place place) {
    for (const BannerLine& l : kFirstSelectBanner) {
        const CanvasPoint p = place(l.dy);
        c.Text(p.x, p.y, l.text, style);
    }
}

} // namespace vx
