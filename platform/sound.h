// Sound output: a named sound file played without waiting, the wave output
// volume and the system beep.
#pragma once

#include <cstdint>
#include <string_view>

namespace vx {

class Sound {
public:
    virtual ~Sound() = default;

    // Starts the sound file `fileName` (looked up among the program's data
    // files: the current folder, then beside the program) and returns at
    // once. A missing or unplayable file is silent.
    virtual void Play(std::string_view fileName) = 0;
    // Wave output volume per channel, 0 .. 0xFFFF (full).
    virtual void SetWaveVolume(std::uint16_t left, std::uint16_t right) = 0;
    virtual void Beep() = 0;
};

} // namespace vx
