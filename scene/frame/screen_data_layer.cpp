#include "scene/frame/screen_data_layer.h"

#include <algorithm>
#include <cmath>

#include "scene/frame/dyn_var_texts.h"
#include "scene/frame/overlay_layer.h"
#include "scene/frame/reference_points_layer.h"
#include "scene/frame/screen_text.h"
#include "model/dimensions.h"
#include "model/dynvar.h"
#include "model/solver.h"
#include "model/undo_redo.h"
#include "platform/sound.h"

namespace vx {
namespace {

using Line = FixedText<128>;

// One readout: the label, the value as w:d, two spaces.
struct Readout {
    const char* label;
    float (*value)(const GearState&);
    int width, decimals;
    int x, y;
};

constexpr Readout kReadouts[] = {
    {"Rev Arm ", [](const GearState& g) { return g.piv.x[18]; }, 6, 3, 459, 25},
    {"Driv Ang ", [](const GearState& g) { return g.motion.driverAngle; }, 6, 2, 459, 39},
    {"Step Ang", [](const GearState& g) { return g.motion.selectedStep; }, 6, 2, 459, 53},
    {"Piston % ",
     [](const GearState& g) { return static_cast<float>(g.ports.pistonPosition / 6.4 + 0.00001); }, 6, 2, 545,
     25},
    {"ValveCen", [](const GearState& g) { return g.events.valveOffset; }, 7, 3, 545, 37},
    {"ValveFSt", [](const GearState& g) { return g.ports.frontSteamOpening; }, 7, 3, 545, 49},
    {"ValveFEx", [](const GearState& g) { return g.ports.frontExhaustOpening; }, 7, 3, 545, 61},
    {"ValveRSt", [](const GearState& g) { return g.ports.rearSteamOpening; }, 7, 3, 545, 73},
    {"ValveREx", [](const GearState& g) { return g.ports.rearExhaustOpening; }, 7, 3, 545, 85},
    {"ExpLkAng", [](const GearState& g) { return static_cast<float>(g.linkAngle * 180.0 / kPi); }, 7, 2, 545, 97},
};

struct Label {
    const char* text;
    int x, y;
};

constexpr Label kViewBarLabels[] = {{"Pan Vert", 199, 25}, {"Pan Horz", 199, 39}, {"Zoom", 199, 53}};

// Cut-off texts hold at most 10 characters.
constexpr std::size_t kCutOffChars = 10;

// Frames a caught cut-off stays on screen at step s.
int CountdownFrames(float step) { return Nearest(400.0 / (static_cast<double>(step) + 0.1)); }

// The port closed since the last frame: where between the two frames it
// closed, by linear interpolation to the zero crossing of its opening.
float ClosingPosition(float pPrev, float openPrev, float p, float open) {
    return static_cast<float>(static_cast<double>(pPrev) - static_cast<double>(openPrev) *
                                                              (static_cast<double>(p) - pPrev) /
                                                              (static_cast<double>(open) - openPrev));
}

void SetCutOffText(std::string& text, double percent) {
    FixedText<16> t;
    AppendReal(t, percent, 4, 1, kCutOffChars);
    text.assign(t.chars.data(), t.size); // at most 10 characters: kept in the string itself
}

// The texts whose places are too small for the sans: the dimension names
// (up to the value column), their values and the cut-offs (up to the
// panels right of them) and the undo line (up to the readout panel).
TextStyle NarrowStyle() {
    TextStyle s;
    s.face = FontFace::SansNarrow;
    return s;
}

} // namespace

void DrawUndoLine(GearState& g, Canvas& c) {
    const bool on = g.screenDataOn && g.dynVarDisplay;
    g.display.controls.undoVisible = on;
    // Beside the UnDo button, which moves with the layout.
    const CanvasPoint p = ScaledPoint(g, 320, 128);
    const int x = p.x, y = p.y;
    const TextStyle style = LayoutStyle(g, NarrowStyle());
    if (!on) {
        // What an undo or redo by key did, for a while, in the line's place.
        Line notice;
        if (ComposeUndoNotice(g, notice)) c.Text(x, y, notice.View(), style);
        if (g.noticeFrames > 0) --g.noticeFrames;
        return;
    }
    g.noticeFrames = 0;
    Line line;
    ComposeUndoLine(g, line);
    // The diagram windows draw this text as the current undo line.
    KeepUndoLineText(g, line.View());
    c.Text(x, y, line.View(), style);
}

void DrawReadouts(const GearState& g, Canvas& c) {
    for (const Label& l : kViewBarLabels) LayoutText(g, c, l.x, l.y, l.text);
    for (const Readout& r : kReadouts) {
        Line line;
        line.Append(r.label);
        AppendReal(line, r.value(g), r.width, r.decimals);
        line.Append("  ");
        LayoutText(g, c, r.x, r.y, line.View());
    }
}

void StepErrorIndicator(GearState& g, Sound* sound) {
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
        if (sound != nullptr) sound->Play("Error.wav");
    }
    if (d.errorCounter > kErrorCycleFrames) {
        d.errorCounter = 0;
        g.geometryError = false;
    }
}

void DrawCutOffReadouts(GearState& g, Canvas& c) {
    CutOffState& co = g.display.cutOff;
    const float s = g.motion.tickStep;
    const float p = g.ports.pistonPosition;
    const float fSt = g.ports.frontSteamOpening;
    const float rSt = g.ports.rearSteamOpening;
    const bool shown = s != 0 && s < 23;

    if (co.frontPrev > 0 && fSt < 0) {
        co.frontCountdown = CountdownFrames(s);
        const float closing = ClosingPosition(co.pistonPrev, co.frontPrev, p, fSt);
        co.pistonPrev = closing;
        SetCutOffText(g.frontCutOffText, closing / 6.4);
    }
    if (shown) {
        LayoutText(g, c, 545, 109, "FrontCO% ");
        if (co.frontCountdown > 0) {
            LayoutText(g, c, 600, 109, g.frontCutOffText, NarrowStyle());
            --co.frontCountdown;
        }
    }
    if (co.rearPrev > 0 && rSt < 0) {
        co.rearCountdown = CountdownFrames(s);
        const float closing = ClosingPosition(co.pistonPrev, co.rearPrev, p, rSt);
        co.pistonPrev = closing;
        SetCutOffText(g.rearCutOffText, (640.0 - closing) / 6.4);
    }
    if (shown) {
        LayoutText(g, c, 545, 121, "RearCO% ");
        if (co.rearCountdown > 0) {
            LayoutText(g, c, 600, 121, g.rearCutOffText, NarrowStyle());
            --co.rearCountdown;
        }
    }
    co.pistonPrev = p;
    co.frontPrev = fSt;
    co.rearPrev = rSt;
}

void DrawDynVarLines(GearState& g, Canvas& c) {
    if (!g.dynVarDisplay) return;
    if (DynVarSlotAssigned(g, 1)) {
        for (int k = 1; k <= 4; ++k) {
            const DynVarSlot& slot = g.dynVarSlots[static_cast<std::size_t>(k)];
            LayoutText(g, c, 377, 59 + 12 * k, slot.name, NarrowStyle());
            Line value;
            AppendReal(value, ShownDimensionValue(slot.id, slot.value), 6, 3);
            LayoutText(g, c, 498, 59 + 12 * k, value.View(), NarrowStyle());
        }
    } else {
        TextStyle red;
        red.color = colors::kRed;
        DrawFirstSelectBanner(c, LayoutStyle(g, red), [&g](int dy) { return ScaledPoint(g, 377, 71 + dy); });
    }
    for (int k = 1; k <= 4; ++k) g.display.controls.dynVarBarEnabled[static_cast<std::size_t>(k)] = DynVarSlotAssigned(g, k);
}

void DrawScreenDataLayer(GearState& g, Canvas& c, const FrameServices& s) {
    DrawReadouts(g, c);
    StepErrorIndicator(g, s.sound);
    DrawPivotDataDisplay(g, c);
    DrawOverlayPickPrompts(g, c);
    DrawCutOffReadouts(g, c);
    DrawReferencePointDisplay(g, c);
    DrawDynVarLines(g, c);
}

} // namespace vx
