// What the layers of the main picture share: its size, and what they need
// from the platform.
#pragma once

namespace vx {

class Clock;
class Random;
class Sound;

// Size of the main picture in pixels; it does not follow the window's size.
constexpr int kFrameWidth = 1280;
constexpr int kFrameHeight = 1024;

// What the layers need from the platform: the date and time of the captions,
// the steam display's random numbers, the exhaust and error sounds. A null
// member falls back to the system clock, a fixed-seed generator and silence.
struct FrameServices {
    const Clock* clock = nullptr;
    Random* random = nullptr;
    Sound* sound = nullptr;
};

} // namespace vx
