// The dynamic-variable texts the main picture and the diagram windows share:
// the undo line and the "First Select Dimensions" banner. Each picture
// places and styles them its own way.
#pragma once

#include <array>
#include <string_view>

#include "model/display_state.h"
#include "model/gear_state.h"
#include "platform/canvas.h"

namespace vx {

// The undo line: while undo has nothing left and redo has, the redo line;
// otherwise the undo count as width 2, "- ", the newest entry's name (its
// first 25 characters), " ", its value after the change, " to ", its value
// before (the one UnDo restores), each as 6:3 of at most 10 characters.
void ComposeUndoLine(const GearState& g, FixedText<128>& out);

// Keeps `line` as the current undo line text, which every picture draws
// before rebuilding its own (cut to the text's capacity).
void KeepUndoLineText(GearState& g, std::string_view line);

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
