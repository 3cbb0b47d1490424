// vexlin-cli diagram: one of the valve diagrams of the prepared design, as
// a picture (PNG or SVG) or as the figures behind it (CSV).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/command_context.h"
#include "export/picture_file.h"
#include "scene/diagrams/diagram_registry.h"

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

// Reads the options of "diagram NAME" (the diagram the command's name
// names: the table's diagram subcommands are named after the diagrams). On
// a usage error returns false with the message.
bool ReadDiagramOptions(const Args& args, DiagramOptions& o, std::string& error);

// "diagram NAME": the picture or its figures. The list of positions and the
// vertical scale are set the way the reverse arm positions dialog would
// leave them: positions limited to mid gear +- the maximum travel, the
// scale at least 0.1.
int RunDiagramCommand(CommandContext& ctx, const DiagramOptions& o);

} // namespace vx::cli
