// The work of the cylinder ends drawn through a Canvas: the ideal indicator
// cards (pressure against volume, front and rear of a position overlaid,
// the clearance shaded left of the dead centre), the economy curve (MEP
// front and rear and steam per work against cut-off over the notches) and
// the table of figures. The work window's picture, the command line's
// "diagram work" and the design report's page all draw with these.
#pragma once

#include <span>
#include <string_view>

#include "model/state/gear_state.h"
#include "model/analysis/work.h"
#include "platform/canvas.h"

namespace vx {

// The work window's picture (its client area).
constexpr int kWorkWindowWidth = 900;
constexpr int kWorkWindowHeight = 680;

inline constexpr Rgb kWorkFrontInk = colors::kGreen;
inline constexpr Rgb kWorkRearInk = colors::kMaroon;
inline constexpr Rgb kWorkSteamInk = colors::kBlue;

// One position's two cards in the box (left, top, width, height): a caption
// line, then the plot with its axes. `number` is the position's number in
// its list (1..).
void DrawWorkCard(Canvas& c, const PositionWork& w, const WorkSettings& s, int number, int left, int top, int width,
                  int height, int pixelSize = 10);

// Cards of `work` in a grid of `columns` inside the box.
void DrawWorkCards(Canvas& c, std::span<const PositionWork> work, const WorkSettings& s, int left, int top,
                   int width, int height, int columns, int pixelSize = 10);

// The economy curve of `notches` in the box: MEP front and rear (left
// scale) and steam per work (right scale) against cut-off.
void DrawEconomyCurve(Canvas& c, std::span<const PositionWork> notches, const WorkSettings& s, int left, int top,
                      int width, int height, int pixelSize = 10);

// Width of the table at a text size.
int WorkTableWidth(int pixelSize);
// The table of `work` (a row per position, front and rear side by side)
// with the cases of each card below it; returns the y under it. A row's
// position is labelled "Fwd", "Rev" or "Cen" against `midGear`, as the
// diagrams' headers label it.
int DrawWorkTable(Canvas& c, std::span<const PositionWork> work, float midGear, int left, int top,
                  int pixelSize = 11);

// The work window's whole picture: the settings line, the cards of the
// listed positions, the economy curve of the notches, the table, and the
// dynamic-variable block and undo line as the diagrams draw them.
void DrawWorkPicture(const GearState& g, Canvas& c, const WorkTable& t, const WorkSettings& s);

} // namespace vx
