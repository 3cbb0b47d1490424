// vexlin-cli diagram: one of the valve diagrams of the prepared design, as
// a picture (PNG or SVG) or as the figures behind it (CSV).
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/command_context.h"
#include "cli/output_path.h"
#include "export/picture_file.h"
#include "scene/diagrams/diagram_registry.h"
#include "model/gear_state.h"

namespace vx::cli {

struct DiagramOptions {
    const DiagramEntry* diagram = nullptr;
    // Reverse arm positions as offsets from mid gear; unset = the three the
    // mid-gear search sets (0, -Norm, +Norm).
    std::optional<std::vector<double>> positions;
    PortGraphMode mode = PortGraphMode::Both;
    std::optional<double> scale;
    std::string out; // empty with data
    PictureKind kind = PictureKind::Png;
    bool data = false;
    bool samples = false; // with data: the drawn valve travel points
};

// Reads the options of "diagram NAME". On a usage error returns false with
// the message.
bool ReadDiagramOptions(const DiagramEntry& diagram, const Args& args, DiagramOptions& o, std::string& error);

// The same from the words after "diagram" (the name first), read by the
// command table's parser.
bool ParseDiagramOptions(const std::vector<std::string>& args, DiagramOptions& o, std::string& error);

// Sets the list of positions and the vertical scale the way the reverse arm
// positions dialog would leave them: positions limited to mid gear +- the
// maximum travel, the scale at least 0.1.
void ApplyDiagramOptions(GearState& g, const DiagramOptions& o);

// "diagram NAME": the picture or its figures.
int RunDiagramCommand(CommandContext& ctx);

} // namespace vx::cli
