// The port events diagram: for 19 reverse arm positions from mid gear out to
// the maximum travel, where in the piston stroke each steam and exhaust port
// opens and closes. Each event becomes a curve across the positions. Scene
// code: draws through a Canvas only.
#pragma once

#include <array>

#include "scene/diagrams/diagram_registry.h" // PortGraphMode
#include "model/state/gear_state.h"
#include "platform/canvas.h"

namespace vx {

constexpr int kPortRows = 19;      // rows 0..18, mid gear to maximum travel
constexpr int kPortSteps = 90;     // steps of one turn, 4 degrees apart
constexpr int kPortLegendRow = 13; // the row the valve-cycle legend hangs on

// PortGraphChoice values kept in the model.
constexpr int kPortChoiceForward = 1;
constexpr int kPortChoiceReverse = 2;
constexpr int kPortChoiceBoth = 3;

PortGraphMode PortGraphModeOfChoice(int choice); // anything else: Both
int PortGraphChoiceOfMode(PortGraphMode mode);

// The eight events, in the order they are tested at each step.
enum PortEvent {
    kFrontSteamOpens,
    kFrontExhaustOpens,
    kRearSteamOpens,
    kRearExhaustOpens,
    kFrontSteamCloses,
    kFrontExhaustCloses,
    kRearSteamCloses,
    kRearExhaustCloses,
    kPortEventCount
};

// Whether an event is a front port's (its travel read from the forward end)
// rather than a rear port's (read from the other end).
inline bool IsFrontPortEvent(int e) {
    return e == kFrontSteamOpens || e == kFrontExhaustOpens || e == kFrontSteamCloses || e == kFrontExhaustCloses;
}

// One row: its absolute reverse arm position and, per event, the
// interpolated crossing (piston position 0..640) where the row found it.
struct PortEventRow {
    float position = 0;
    std::array<float, kPortEventCount> crossing{};
    std::array<bool, kPortEventCount> found{};
};

// Screen x of the four legend anchors, set on the legend row.
struct PortLegendAnchors {
    float admission = 0;   // A: front steam port opens
    float exhaust = 0;     // E: front port opens to exhaust
    float cutOff = 0;      // C: front steam port closes
    float compression = 0; // K: front port closes to exhaust
};

struct PortGraphFigures {
    std::array<PortEventRow, kPortRows> rows{};
    PortLegendAnchors anchors;
};

// Draws one graph (mode Forward or Reverse; Both counts as Forward) without
// clearing: frame, grid, labels, key, the event curves, the legend when
// `showLegend`, the dynamic-variable block and undo line. Restores the
// reverse arm position and the driver angle; the port openings and solver
// outputs keep the last sample's values. `figures`, when given, receives the
// crossings found.
void DrawPortGraph(const GearState& g, Canvas& c, PortGraphMode mode, bool showLegend,
                   PortGraphFigures* figures = nullptr);

// What the window draws for a mode after clearing: one graph, or for Both
// the forward graph with the legend and the reverse graph over it without.
// For Both, `forward` and `reverse` receive the two graphs' figures; for a
// single mode only the one of that mode is filled.
void DrawPortGraphs(const GearState& g, Canvas& c, PortGraphMode mode, PortGraphFigures* forward = nullptr,
                    PortGraphFigures* reverse = nullptr);

} // namespace vx
