// The spread of the valve events under tolerance and wear, drawn through a
// Canvas: per reverse arm position a small histogram of the front-rear
// cut-off difference over the samples, with the design's own value marked
// and the threshold either side of zero, and a table of the spread of the
// figures a designer squares.
#pragma once

#include <string>
#include <string_view>

#include "model/state/gear_state.h"
#include "model/analysis/tolerance.h"
#include "platform/canvas.h"

namespace vx {

// The tolerance window's picture.
constexpr int kToleranceWindowWidth = 1000;
constexpr int kToleranceWindowHeight = 800;
// Where the histograms start.
constexpr int kToleranceChartTop = 112;

// One histogram in the box (left, top, width x height), captioned.
void DrawToleranceHistogram(Canvas& c, const TolerancePosition& p, float threshold, std::string_view caption,
                            int left, int top, int width, int height);

// The table: per position the cut-off difference (nominal, 5 %, median,
// 95 %), the lead difference (5 %, 95 %), the share over the threshold and
// the samples that failed. Returns the y below it.
int DrawToleranceTable(Canvas& c, const ToleranceResult& r, int left, int top);

// The histograms of every position (up to nine, three to a row) from `top`
// across `width`, then the table. Returns the y below it.
int DrawToleranceSummary(Canvas& c, const ToleranceResult& r, int left, int top, int width);

// The window's whole picture: `status` (in red above a result: what is
// wrong with it), the summary of `r` when there is one, and the
// dynamic-variable block and undo line as the diagrams draw them.
void DrawTolerancePicture(const GearState& g, Canvas& c, const ToleranceResult* r, std::string_view status);

} // namespace vx
