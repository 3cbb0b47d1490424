// vexlin-cli render frame: draws the main picture of the prepared design to
// a file.
#pragma once

#include <optional>
#include <string>

#include "cli/command_context.h"
#include "export/picture_file.h"
#include "scene/frame/frame_services.h"

namespace vx::cli {

struct FrameOptions {
    std::string out;
    PictureKind kind = PictureKind::Png;
    std::optional<double> angle, revarm, zoom, panH, panV, lineWidth, running;
    int width = kFrameWidth, height = kFrameHeight;
    bool screenData = true;
    bool steam = false;
    bool largeFont = false;
};

// Reads the options of "render frame". On a usage error returns false with
// the message.
bool ReadFrameOptions(const Args& args, FrameOptions& o, std::string& error);

// "render frame": the main picture to a file.
int RunRenderFrame(CommandContext& ctx, const FrameOptions& o);

} // namespace vx::cli
