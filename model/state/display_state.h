// What the main picture keeps from frame to frame for its texts and steam,
// and the effects on the main window's controls. Plain data: the frame's
// advance writes it (model/workspace/frame_advance.h), the drawing reads it,
// and the window reads the control effects after each frame.
#pragma once

#include <algorithm>
#include <array>
#include <cstddef>
#include <string_view>

#include "base/fixed_format.h"
#include "model/state/geometry_error.h"

namespace vx {

// A text in a fixed buffer: formatting into it never allocates. Longer
// texts are cut to the capacity.
template <std::size_t N>
struct FixedText {
    std::array<char, N> chars{};
    std::size_t size = 0;

    std::string_view View() const { return {chars.data(), size}; }
    void Clear() { size = 0; }
    void Append(std::string_view s) {
        const std::size_t n = std::min(s.size(), N - size);
        std::copy_n(s.data(), n, chars.data() + size);
        size += n;
    }
    void AppendSpaces(std::size_t count) {
        const std::size_t n = std::min(count, N - size);
        std::fill_n(chars.data() + size, n, ' ');
        size += n;
    }
    friend bool operator==(const FixedText& a, const FixedText& b) { return a.View() == b.View(); }
};

// Appends v right-aligned in at least `width` characters with `decimals`
// decimals (a longer number is written in full, as far as the buffer
// holds); at most `maxChars` characters of the number are kept.
template <std::size_t N>
void AppendReal(FixedText<N>& out, double v, int width, int decimals, std::size_t maxChars = 64) {
    char buf[kNumberBuffer];
    out.Append(FormatFixedCut(buf, v, width, decimals, maxChars));
}

template <std::size_t N>
void AppendInt(FixedText<N>& out, long long v, int width) {
    char buf[kNumberBuffer];
    out.Append(FormatInt(buf, v, width));
}

// The windows whose captions carry the design name, date and time.
enum class WindowKind : std::uint8_t {
    Main,
    SineDiagram,
    OvalDiagram,
    SteamDiagram,
    PortDiagram,
    PivotData,
    FrameDimensions,
    CylinderDimensions,
};
constexpr int kCaptionWindows = 8;
using CaptionText = FixedText<400>;

// Cut-off capture: the previous frame's piston position and steam openings,
// and how many more frames each caught value stays on screen.
struct CutOffState {
    float pistonPrev = 0;
    float frontPrev = 0;
    float rearPrev = 0;
    int frontCountdown = 0;
    int rearCountdown = 0;
};

// One end of the cylinder in the steam display.
enum class SteamPhase : std::uint8_t { None, Admitted, Exhausted };
struct SteamEnd {
    SteamPhase phase = SteamPhase::None;
    float density = 20;
    bool exhaustArmed = false;
    float soundLevel = 0;
};

// The colour of an end's steam in the display: live steam admitted, then
// expanding, exhausting, then compressed.
enum class SteamColor : std::uint8_t { Black, White, Red, Fuchsia, Blue, Green };


// Effects of the layers on the main window's controls. The window applies
// them after each frame, and only when they differ from what it applied.
struct ControlEffects {
    bool errorVisible = false;                         // the `Error` menu item
    GeometryCause errorCause = GeometryCause::None;    // its tooltip, with the angle
    float errorAngle = 0;
    bool undoVisible = false;                          // `UnDoDn`
    std::array<bool, 5> dynVarBarEnabled{};            // SBDynVar1..4 (index 1..4)
    friend bool operator==(const ControlEffects&, const ControlEffects&) = default;
};

struct DisplayState {
    std::array<CaptionText, kCaptionWindows> captions{}; // by WindowKind
    CutOffState cutOff;
    int errorCounter = 0; // frames into the error indicator's cycle
    std::array<SteamEnd, 2> steam{};                     // 0 front, 1 rear
    ControlEffects controls;
};

} // namespace vx
