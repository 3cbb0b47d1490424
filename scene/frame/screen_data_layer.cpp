#include "scene/frame/screen_data_layer.h"

#include <algorithm>
#include <cmath>

#include "scene/frame/dyn_var_texts.h"
#include "scene/frame/overlay_layer.h"
#include "scene/frame/reference_points_layer.h"
#include "scene/frame/screen_text.h"
#include "model/gear/dimensions.h"
#include "model/workspace/dynvar.h"
#include "model/gear/solver.h"
#include "model/workspace/undo_redo.h"

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

// The texts whose places are too small for the sans: the dimension names
// (up to the value column), their values and the cut-offs (up to the
// panels right of them) and the undo line (up to the readout panel).
TextStyle NarrowStyle() {
    TextStyle s;
    s.face = FontFace::SansNarrow;
    return s;
}

} // namespace

void DrawUndoLine(const GearState& g, Canvas& c) {
    const bool on = g.screenDataOn && g.dynVarDisplay;
    // Beside the UnDo button, which moves with the layout.
    const CanvasPoint p = ScaledPoint(g, 320, 128);
    const int x = p.x, y = p.y;
    const TextStyle style = LayoutStyle(g, NarrowStyle());
    Line line;
    if (!on) {
        // What an undo or redo by key did, for a while, in the line's place.
        if (!g.picture.undoNoticeShown) return;
        AppendUndoNotice(g, line);
    } else {
        ComposeUndoLine(g, line);
    }
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

void DrawCutOffReadouts(const GearState& g, Canvas& c) {
    const float s = g.motion.tickStep;
    if (!(s != 0 && s < 23)) return;
    LayoutText(g, c, 545, 109, "FrontCO% ");
    if (g.picture.frontCutOffShown) LayoutText(g, c, 600, 109, g.frontCutOffText, NarrowStyle());
    LayoutText(g, c, 545, 121, "RearCO% ");
    if (g.picture.rearCutOffShown) LayoutText(g, c, 600, 121, g.rearCutOffText, NarrowStyle());
}

void DrawDynVarLines(const GearState& g, Canvas& c) {
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
}

void DrawScreenDataLayer(const GearState& g, Canvas& c) {
    DrawReadouts(g, c);
    DrawPivotDataDisplay(g, c);
    DrawOverlayPickPrompts(g, c);
    DrawCutOffReadouts(g, c);
    DrawReferencePointDisplay(g, c);
    DrawDynVarLines(g, c);
}

} // namespace vx
