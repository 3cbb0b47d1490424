// vexlin-cli render animation: one revolution of the running gear as an
// animated GIF, or as numbered PNG frames in a folder.
#pragma once

#include <string>
#include <string_view>

#include "cli/command_context.h"
#include "scene/frame/animation_frames.h"
#include "model/state/gear_state.h"

namespace vx::cli {

struct AnimationOptions {
    std::string out;
    bool framesFolder = false; // --out names a folder: PNG frames
    double revarm = 0, step = 10, fps = 25;
    int width = kFrameWidth, height = kFrameHeight;
    bool screenData = true, steam = false, largeFont = false;
    bool force = false; // --force: remove an earlier animation's other frames
};

// "WxH" with 1 <= W <= 1280 and 1 <= H <= 1024 (the picture's top-left
// part of --size).
bool ParseFrameSize(std::string_view text, int& width, int& height);

// Reads the options of "render animation". On a usage error returns false
// with the message.
bool ReadAnimationOptions(const Args& args, AnimationOptions& o, std::string& error);

// "render animation": one revolution to a GIF or a folder of PNG frames.
int RunRenderAnimationCommand(CommandContext& ctx, const AnimationOptions& o);

} // namespace vx::cli
