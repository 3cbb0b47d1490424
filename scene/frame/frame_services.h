// What the layers of the main picture share: its size, and what they need
// from the platform.
#pragma once

namespace vx {

class Random;

// Size of the main picture in pixels; it does not follow the window's size.
constexpr int kFrameWidth = 1280;
constexpr int kFrameHeight = 1024;

// What the layers need from the platform: the steam display's random
// numbers (restarted every frame, so a frame's dots are a function of what
// it shows). A null member falls back to a fixed-seed generator.
struct FrameServices {
    Random* random = nullptr;
};

} // namespace vx
