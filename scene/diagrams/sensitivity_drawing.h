// The sensitivity chart, drawn through a Canvas: for one reverse arm
// position and one event figure, a horizontal bar per dimension, ranked,
// each as long as the move a shop tolerance (0.001, or 0.1 degree for an
// angle) gives the figure, to the right when the figure grows with the
// dimension and to the left when it shrinks. Dimensions whose step breaks
// the linkage say "fails"; those without the event say "no event".
#pragma once

#include <cstddef>
#include <string>

#include "model/state/gear_state.h"
#include "model/analysis/sensitivity.h"
#include "platform/canvas.h"

namespace vx {

// The sensitivity window's picture.
constexpr int kSensitivityWindowWidth = 900;
constexpr int kSensitivityWindowHeight = 620;
// Where its chart starts, and the height of one bar's row.
constexpr int kSensitivityChartTop = 112;
constexpr int kSensitivityRowHeight = 17;
// The rows the window's picture has room for.
constexpr int kSensitivityWindowRows = 25;

// Draws the chart of the `count` dimensions (all when count <= 0) that move
// figure `f` most at position `position` of `r`, with its top-left corner at
// (left, top) and `width` pixels wide: a title line, then one row of
// kSensitivityRowHeight per dimension. Returns the y below the chart.
int DrawSensitivityChart(Canvas& c, const SensitivityResult& r, std::size_t position, EventFigure f, int count,
                         int left, int top, int width);

// The row of a chart drawn at `top` under the point's y (0 for the first
// dimension), or -1 above the rows.
int SensitivityChartRowAt(int top, int y);

// The window's whole picture: the chart at kSensitivityChartTop, the
// geometry errors met, and the dynamic-variable block and undo line as the
// diagrams draw them.
void DrawSensitivityPicture(const GearState& g, Canvas& c, const SensitivityResult& r, std::size_t position,
                            EventFigure f, int count);

// "Normal full forward", "3/4 forward", ..., "Mid gear", ..., "Normal full
// reverse": notch k (0..8) of the nine.
std::string NotchName(int k);

} // namespace vx
