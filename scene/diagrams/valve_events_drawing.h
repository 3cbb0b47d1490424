// The valve events tables, drawn through a Canvas: the events window's
// picture and the design report's table. Two tables, one row per reverse
// arm position: where in the stroke each event happens (percent of stroke
// from each end's dead centre), front and rear side by side with the
// differences front minus rear, the lead, travel and die slip; then the
// crank angles of the events, the largest openings and how often each port
// opens. A difference over its threshold is drawn in red on yellow.
#pragma once

#include <span>

#include "model/state/gear_state.h"
#include "model/analysis/valve_events.h"
#include "platform/canvas.h"
#include "scene/diagrams/table_drawing.h"

namespace vx {

// Differences front minus rear that want a designer's eye.
struct EventThresholds {
    float percent = 1.0f; // cut-off and release, percent of stroke
    float lead = 0.005f;  // lead, length units
};

// Whether |d| is over `limit` (a NaN difference is not flagged).
bool OverThreshold(double d, double limit);

// The events window's picture.
constexpr int kEventsWindowWidth = 900;
constexpr int kEventsWindowHeight = 490;

// Width the tables take at the given text size.
int ValveEventsTablesWidth(int pixelSize);

// Draws both tables with their top-left corner at (left, top) in text of
// `pixelSize` pixels; returns the y below the last line drawn. A row's
// position is labelled "Fwd", "Rev" or "Cen" against `midGear`, as the
// diagrams' headers label it.
int DrawValveEventsTables(Canvas& c, std::span<const PositionEvents> events, const EventThresholds& thresholds,
                          float midGear, int left, int top, int pixelSize = 11);

// The window's whole picture: the tables of `events` (the positions of the
// list), the thresholds, the geometry errors met, and the dynamic-variable
// block and undo line as the diagrams draw them.
void DrawValveEventsPicture(const GearState& g, Canvas& c, std::span<const PositionEvents> events,
                            const EventThresholds& thresholds);

} // namespace vx
