// The valve diagrams by name, for vexlin-cli ("diagram sine|oval|steam|
// ports"): each entry draws its picture the way its window does and writes
// the figures behind the picture as CSV.
//
// To add a diagram: write its drawing (diagrams/NAME_diagram.{h,cpp}, scene
// code through the Canvas), then add one row to the table in
// diagram_registry.cpp with a draw function and a CSV function of the
// signatures below.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "model/state/gear_state.h"
#include "platform/canvas.h"

namespace vx {

// The graphs of the port events diagram: forward running positions, reverse
// running positions, or the forward graph with the reverse one drawn over it.
enum class PortGraphMode { Forward, Reverse, Both };

// What the command line asks of a diagram beyond the model itself.
struct DiagramRequest {
    PortGraphMode mode = PortGraphMode::Both; // port events diagram only
    // Sine and oval only: the figures are the drawn valve travel points
    // instead of the lead and lap table.
    bool samples = false;
};

struct DiagramEntry {
    std::string_view name; // the command line's word: "sine", "oval", ...
    int width;             // picture size = the window's client area
    int height;
    // Draws the picture onto a canvas already cleared to white.
    void (*draw)(const GearState& g, Canvas& c, const DiagramRequest& r);
    // Appends the figures as CSV (header line first, 4 decimals, an empty
    // field where there is no figure).
    void (*data)(const GearState& g, const DiagramRequest& r, std::string& csv);
    bool hasSamples; // takes DiagramRequest::samples
};

std::span<const DiagramEntry> AllDiagrams();
const DiagramEntry* FindDiagram(std::string_view name);

// Appends v with 4 decimals (C locale); NaN and infinities as "nan",
// "inf", "-inf".
void AppendCsvNumber(std::string& csv, double v);

} // namespace vx
