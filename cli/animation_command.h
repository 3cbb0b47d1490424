// vexlin-cli render animation: one revolution of the running gear as an
// animated GIF, or as numbered PNG frames in a folder.
#pragma once

#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "scene/frame/animation_frames.h"
#include "model/gear_state.h"

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

// Reads the words after "animation" (args[0] is "animation"). On a usage
// error returns false with the message.
bool ParseAnimationOptions(const std::vector<std::string>& args, AnimationOptions& o, std::string& error);

// args: the words after "render", starting with "animation". Returns the
// exit code: 0 done, 1 failure (message on err), 2 usage error.
int RunRenderAnimation(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

} // namespace vx::cli
