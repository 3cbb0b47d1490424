// Sound output: a named sound file played without waiting, the wave output
// volume and the system beep.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

#include "model/workspace/frame_advance.h"

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

// Plays the sounds a frame asked for, in order.
inline void PlayFrameSounds(std::span<const FrameSound> sounds, Sound& out) {
    for (const FrameSound& s : sounds) {
        switch (s.kind) {
        case FrameSound::Kind::Play: out.Play(s.file); break;
        case FrameSound::Kind::Volume: out.SetWaveVolume(s.volume, s.volume); break;
        case FrameSound::Kind::Beep:
            for (long long k = 0; k < s.beeps; ++k) out.Beep();
            break;
        }
    }
}

} // namespace vx
