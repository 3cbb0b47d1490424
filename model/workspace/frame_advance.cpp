#include "model/workspace/frame_advance.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "model/workspace/dynvar.h"
#include "model/workspace/motion.h"
#include "model/workspace/undo_redo.h"
#include "model/workspace/view.h"
#include "model/workspace/locator.h"

namespace vx {

void FrameSounds::Beep(long long count) {
    if (count <= 0) return;
    if (count_ > 0) {
        FrameSound& last = items_[static_cast<std::size_t>(count_ - 1)];
        if (last.kind == FrameSound::Kind::Beep) {
            last.beeps += count;
            return;
        }
    }
    Add({FrameSound::Kind::Beep, {}, 0, count});
}

int SteamDotCount(double v) { return static_cast<int>(std::clamp<long long>(Nearest(v), 0, kMaxSteamDots)); }

std::uint16_t ExhaustVolume(int v) {
    struct Row {
        int upTo;
        std::uint16_t level;
    };
    static constexpr Row kRows[] = {{100, 0x0700},  {200, 0x1400},  {400, 0x2800},  {600, 0x4000},
                                    {800, 0x5000},  {1000, 0x6000}, {1200, 0x7000}, {2001, 0x8000}};
    if (v < 24) return 0;
    for (const Row& r : kRows)
        if (v <= r.upTo) return r.level;
    return 0;
}

SteamColor StepPhaseColor(SteamEnd& end, SteamColor color, float steamOpening, float exhaustOpening) {
    if (steamOpening > 0) {
        end.phase = SteamPhase::Admitted;
        color = SteamColor::Red;
    } else if (end.phase == SteamPhase::Admitted) {
        color = SteamColor::Fuchsia;
    }
    if (exhaustOpening > 0) {
        end.phase = SteamPhase::Exhausted;
        color = SteamColor::Blue;
    } else if (end.phase == SteamPhase::Exhausted) {
        color = SteamColor::Green;
    }
    return color;
}

namespace {

// A span of pixels from `from` to `to`, in 64 bits so no corner of the
// picture overflows.
long long Span(std::int32_t from, std::int32_t to) { return static_cast<long long>(to) - from; }

// Density of one end after this frame's admission or exhaust; the dot
// count of that end.
int UpdateDensity(const GearState& g, SteamEnd& end, SteamColor col, float steamOpening, float exhaustOpening) {
    const double s = g.motion.tickStep;
    double d = end.density;
    if (col == SteamColor::Red) d = static_cast<float>(d + s * 50 * (static_cast<double>(steamOpening) + 0.1));
    else if (col == SteamColor::Blue) d = static_cast<float>(d + -s * 60 * static_cast<double>(exhaustOpening));
    if (!(d >= kMinSteamDensity)) d = kMinSteamDensity;
    if (d > kMaxSteamDensity) d = kMaxSteamDensity;
    end.density = static_cast<float>(d);
    return SteamDotCount(static_cast<double>(end.density) * g.view.zoom / 18.5);
}

// The passages and the plume divide by a pixel height: a height of 0 is
// taken as 1, with a beep for every dot drawn.
void GuardBeeps(long long h, long long w, int count, FrameSounds& sounds) {
    if (h == 0 && SteamRegionDrawn(h, w, count)) sounds.Beep(count);
}

// The exhaust beat of one end: armed while its port is closed, played once
// at the opening, at the other end's stored level.
void ExhaustBeat(const GearState& g, SteamEnd& end, const SteamEnd& other, float exhaustOpening, FrameSounds& sounds) {
    if (!(exhaustOpening >= 0) && g.locatorDimension == 0) end.exhaustArmed = true;
    if (exhaustOpening > 0 && end.exhaustArmed) {
        end.exhaustArmed = false;
        end.soundLevel = end.density;
        const std::uint16_t volume = ExhaustVolume(Nearest(other.soundLevel));
        if (volume != 0) sounds.Volume(volume);
        sounds.Play("Exhaust.wav");
    }
}

// The port closed since the last frame: where between the two frames it
// closed, by linear interpolation to the zero crossing of its opening.
float ClosingPosition(float pPrev, float openPrev, float p, float open) {
    return static_cast<float>(static_cast<double>(pPrev) - static_cast<double>(openPrev) *
                                                              (static_cast<double>(p) - pPrev) /
                                                              (static_cast<double>(open) - openPrev));
}

// Cut-off texts hold at most 10 characters.
constexpr std::size_t kCutOffChars = 10;

void SetCutOffText(std::string& text, double percent) {
    FixedText<16> t;
    AppendReal(t, percent, 4, 1, kCutOffChars);
    text.assign(t.chars.data(), t.size); // at most 10 characters: kept in the string itself
}

// A double held as a float without the undefined conversion of a finite
// value beyond the float range.
float ToFloat(double v) {
    constexpr double kMax = std::numeric_limits<float>::max();
    if (v > kMax) return std::numeric_limits<float>::infinity();
    if (v < -kMax) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(v);
}

} // namespace

void StepSteamDisplay(GearState& g, FrameSounds& sounds) {
    const PortOpenings& p = g.ports;
    SteamEnd& front = g.display.steam[0];
    SteamEnd& rear = g.display.steam[1];
    FramePicture& f = g.picture;

    SteamColor col = StepPhaseColor(front, SteamColor::Black, p.frontSteamOpening, p.frontExhaustOpening);
    f.frontSteam = col;
    f.frontDots = UpdateDensity(g, front, col, p.frontSteamOpening, p.frontExhaustOpening);
    col = StepPhaseColor(rear, col, p.rearSteamOpening, p.rearExhaustOpening);
    f.rearSteam = col;
    f.rearDots = UpdateDensity(g, rear, col, p.rearSteamOpening, p.rearExhaustOpening);

    if (g.errorBeepOn) {
        const auto C = [&g](int k) { return g.cylOutline[static_cast<std::size_t>(k)]; };
        // The passages, front then rear, then the plume of each end's exhaust.
        const long long passage = Span(C(17).y, C(5).y);
        GuardBeeps(passage, Span(C(19).x, C(8).x), f.frontDots / 8, sounds);
        GuardBeeps(passage, Span(C(5).x, C(18).x), f.rearDots / 8, sounds);
        const long long plume = Span(C(0).y, C(2).y);
        const long long plumeWidth = Span(C(0).x, C(13).x);
        GuardBeeps(plume, plumeWidth, f.frontDots / 6, sounds);
        GuardBeeps(plume, plumeWidth, f.rearDots / 6, sounds);
    }

    ExhaustBeat(g, front, rear, p.frontExhaustOpening, sounds);
    ExhaustBeat(g, rear, front, p.rearExhaustOpening, sounds);
}

void StepUndoLine(GearState& g) {
    const bool on = g.screenDataOn && g.dynVarDisplay;
    g.display.controls.undoVisible = on;
    if (!on) {
        // What an undo or redo by key did, for a while, in the line's place.
        g.picture.undoNoticeShown = g.noticeFrames > 0;
        if (g.noticeFrames > 0) --g.noticeFrames;
        return;
    }
    g.noticeFrames = 0;
    FixedText<128> line;
    ComposeUndoLine(g, line);
    // The diagram windows draw this text as the current undo line.
    KeepUndoLineText(g, line.View());
}

void StepErrorIndicator(GearState& g, FrameSounds& sounds) {
    if (!g.geometryError) return;
    DisplayState& d = g.display;
    ++d.errorCounter;
    if (d.errorCounter < kErrorSoundFrame) {
        d.controls.errorVisible = true;
        d.controls.errorCause = g.errorCause;
        d.controls.errorAngle = g.errorCauseAngle;
    }
    if (d.errorCounter == kErrorSoundFrame) {
        d.controls.errorVisible = false;
        // A notice, not a fault: shown, not sounded.
        if (g.errorCause != GeometryCause::SolvedExactly) sounds.Play("Error.wav");
    }
    if (d.errorCounter > kErrorCycleFrames) {
        d.errorCounter = 0;
        g.geometryError = false;
    }
}

int CutOffCountdownFrames(float step) { return Nearest(400.0 / (static_cast<double>(step) + 0.1)); }

void StepCutOffs(GearState& g) {
    CutOffState& co = g.display.cutOff;
    const float s = g.motion.tickStep;
    const float p = g.ports.pistonPosition;
    const float fSt = g.ports.frontSteamOpening;
    const float rSt = g.ports.rearSteamOpening;
    const bool shown = s != 0 && s < 23;

    if (co.frontPrev > 0 && fSt < 0) {
        co.frontCountdown = CutOffCountdownFrames(s);
        const float closing = ClosingPosition(co.pistonPrev, co.frontPrev, p, fSt);
        co.pistonPrev = closing;
        SetCutOffText(g.frontCutOffText, closing / 6.4);
    }
    g.picture.frontCutOffShown = shown && co.frontCountdown > 0;
    if (g.picture.frontCutOffShown) --co.frontCountdown;
    if (co.rearPrev > 0 && rSt < 0) {
        co.rearCountdown = CutOffCountdownFrames(s);
        const float closing = ClosingPosition(co.pistonPrev, co.rearPrev, p, rSt);
        co.pistonPrev = closing;
        SetCutOffText(g.rearCutOffText, (640.0 - closing) / 6.4);
    }
    g.picture.rearCutOffShown = shown && co.rearCountdown > 0;
    if (g.picture.rearCutOffShown) --co.rearCountdown;
    co.pistonPrev = p;
    co.frontPrev = fSt;
    co.rearPrev = rSt;
}

void StepDynVarBars(GearState& g) {
    if (!g.dynVarDisplay) return;
    for (int k = 1; k <= 4; ++k) g.display.controls.dynVarBarEnabled[static_cast<std::size_t>(k)] = DynVarSlotAssigned(g, k);
}

void StepLocator(GearState& g) {
    const int id = g.locatorDimension;
    if (id <= 0) return;
    FramePicture& f = g.picture;
    g.locatorReopenCylinder = id > 99;
    if (g.locatorFrameCount == 0) g.savedView = g.view;

    g.locatorFrameCount += 1;
    g.locatorBlinkCount += 1;
    f.locatorId = id;
    f.locatorRed = g.locatorBlinkCount < 4;
    f.locatorView = g.view;
    if (const LocatorView* v = FindLocatorView(id)) {
        // The view that shows the dimension: drawn through at once, the
        // gear's pivots placed through it from the next frame on.
        f.locatorView.zoom = ToFloat(static_cast<double>(v->n) * 7.5 / g.graphicZoomFactor);
        if (v->setsPan) {
            f.locatorView.panHorz = v->panHorz;
            f.locatorView.panVert = v->panVert;
        }
        g.viewPending = true;
        g.pendingView = f.locatorView;
    }

    if (g.locatorBlinkCount > 5) g.locatorBlinkCount = 0;
    if (g.locatorFrameCount > 1000) {
        g.locatorFrameCount = 0;
        g.locatorBlinkCount = 0;
        g.locatorDimension = 0;
        g.viewPending = true;
        g.pendingView = g.savedView;
        g.locatorEnded = true;
    }
}

void EndLocator(GearState& g) {
    if (g.locatorDimension > 0) g.locatorFrameCount = 1005;
}

FrameSounds AdvanceFrame(GearState& g) {
    FrameSounds sounds;
    if (g.viewPending) {
        g.view = g.pendingView;
        g.viewPending = false;
    }
    TickModel(g);
    g.picture = FramePicture{};
    if (g.steamDisplayOn) StepSteamDisplay(g, sounds);
    StepUndoLine(g);
    if (g.screenDataOn) {
        StepErrorIndicator(g, sounds);
        StepCutOffs(g);
        StepDynVarBars(g);
    }
    if (g.locatorDimension != 0) StepLocator(g);
    return sounds;
}

} // namespace vx
