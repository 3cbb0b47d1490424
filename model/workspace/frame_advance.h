// One frame of the running main picture, before it is drawn: the pending
// view put in place, the gear solved and turned on (TickModel), then what
// the picture carries from frame to frame moves on: the steam of each end,
// the undo line and its notice, the error indicator, the caught cut-offs,
// the dynamic-variable bars and the dimension locator. What the frame shows
// is left in FrameState::picture for the drawing, which only reads it; the
// sounds the frame asks for are returned, in order, for the window to play.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "model/state/gear_state.h"

namespace vx {

// A sound a frame asks for.
struct FrameSound {
    enum class Kind : std::uint8_t { Play, Volume, Beep };
    Kind kind = Kind::Beep;
    std::string_view file;    // Play: the sound file's name (a static text)
    std::uint16_t volume = 0; // Volume: both channels, 0 .. 0xFFFF
    long long beeps = 0;      // Beep: how many beeps in a row
};

// The sounds of one frame, in order; a fixed list, so a frame allocates
// nothing. Beeps in a row are one entry.
class FrameSounds {
public:
    void Play(std::string_view file) { Add({FrameSound::Kind::Play, file, 0, 0}); }
    void Volume(std::uint16_t level) { Add({FrameSound::Kind::Volume, {}, level, 0}); }
    void Beep(long long count);
    std::span<const FrameSound> Items() const { return {items_.data(), static_cast<std::size_t>(count_)}; }
    bool Empty() const { return count_ == 0; }

private:
    void Add(const FrameSound& s) {
        if (count_ < kCapacity) items_[static_cast<std::size_t>(count_++)] = s;
    }
    // A frame asks for at most four beep runs, two exhaust beats and the
    // error sound.
    static constexpr int kCapacity = 16;
    std::array<FrameSound, kCapacity> items_{};
    int count_ = 0;
};

// Steam density bounds of a cylinder end.
constexpr float kMinSteamDensity = 25;
constexpr float kMaxSteamDensity = 2000;

// No region of the steam display draws more dots than this, whatever the
// zoom: enough to fill any region of the picture several times over.
constexpr long long kMaxSteamDots = 1 << 21;
// A dot count from a figure: rounded, within 0 .. kMaxSteamDots.
int SteamDotCount(double v);
// Whether a region `w` wide and `h` high (in pixels) draws its `count`
// dots: a height below 0 (an outline turned inside out) draws nothing.
inline bool SteamRegionDrawn(long long h, long long w, int count) {
    return count > 0 && w <= INT32_MAX && h >= 0 && h <= INT32_MAX / 3;
}

// Wave output volume for an exhaust beat at loudness v (the steam density
// stored at the other end's previous beat); 0 leaves the volume unchanged.
std::uint16_t ExhaustVolume(int v);

// The phase colour rules of one end, applied to `color` as left by the
// previous end (the front end starts from black). Updates the end's phase
// memory and returns the new colour.
SteamColor StepPhaseColor(SteamEnd& end, SteamColor color, float steamOpening, float exhaustOpening);

// Frame counts of the error indicator's cycle: the item shows in frames
// 1..9, is hidden with "Error.wav" at frame 10, and the cycle ends (counter
// and flag cleared) after frame 20.
constexpr int kErrorSoundFrame = 10;
constexpr int kErrorCycleFrames = 20;

// The steps of a frame, in the order AdvanceFrame takes them.
// The steam display (while it is on): each end's phase and density, the dot
// counts, a beep for every dot of a region of no height (the division guard,
// while the error beep option is on) and the exhaust beats.
void StepSteamDisplay(GearState& g, FrameSounds& sounds);
// Every frame: `UnDoDn` shown and the undo line kept while both the screen
// data and the dynamic variables are on; else the notice of the last undo
// or redo counts down.
void StepUndoLine(GearState& g);
// While the screen data are on: the error indicator's cycle, the caught
// cut-offs and the dynamic-variable bars' enabling.
void StepErrorIndicator(GearState& g, FrameSounds& sounds);
void StepCutOffs(GearState& g);
void StepDynVarBars(GearState& g);
// While a dimension is located: its blink and view; after 1000 frames the
// user's view comes back and locatorEnded tells the window to show the
// editor again (the frame or the cylinder one, as locatorReopenCylinder
// says).
void StepLocator(GearState& g);

// A mouse press on the main window while the locator runs: it ends at the
// next frame.
void EndLocator(GearState& g);

// Frames a caught cut-off stays on screen at step s.
int CutOffCountdownFrames(float step);

// One whole frame (see above).
FrameSounds AdvanceFrame(GearState& g);

} // namespace vx
