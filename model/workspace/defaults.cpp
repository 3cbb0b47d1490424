#include "model/workspace/defaults.h"

#include "model/gear/dimensions.h"
#include "model/workspace/dynvar.h"
#include "model/gear/reverse_arm.h"
#include "model/gear/solver.h"
#include "model/workspace/view.h"

namespace vx {

void ApplyProgramDefaults(GearState& g) {
    g.motion.driverAngle = 0;
    g.motion.tickStep = 10;
    g.motion.selectedStep = 10;
    g.motion.direction = Direction::Fwd;
    g.motion.running = true;
    g.motion.stepBarArmed = true;
    for (int n : {0, 1, 6, 16, 19, 20}) {
        g.piv.x[static_cast<std::size_t>(n)] = 0;
        g.piv.y[static_cast<std::size_t>(n)] = 0;
    }
    g.fixedPivots.liftShaftX = 0;
    g.fixedPivots.liftShaftY = 0;
    g.fixedPivots.cylinderCentreY = 0;
    g.piv.y[3] = 0;
    g.cyl.valveStemToCL() = 0;
    ReseedRockerLowerEnd(g);
    g.revArm.centre = 0;
    g.revArm.position.fill(0);
    g.normalView = ViewTransform{28.5f, 110, 270};
    g.viewPresets = {{{0, 0, 0},
                      {62, 310, 237},
                      {50, -100, 250},
                      {100, -500, 200},
                      {59, -570, 250},
                      {250, -3450, 700},
                      {250, -3900, 700}}};
    g.designName = "Nominal";
    g.portGraphChoice = 3;
    g.dynVarStep = 0.001f;
    g.locatorDimension = 0;
    g.currentItem = 1;
    for (OverlayItem& item : g.overlay) {
        item.kind = -1;
        item.color = -1;
        item.refMode = -1;
    }
    g.revArm.verticalScale = 1.5f;
    g.revArm.positionCount = 0;
    g.revArm.diagramRedrawPending = false;
    g.graphicZoomFactor = 7.5f;
    g.textScaleX = 1;
    g.textScaleY = 1;
    g.steamDisplayOn = false;
    for (SteamEnd& end : g.display.steam) end.density = 20;
    g.errorBeepOn = true;
    for (DynVarSlot& s : g.dynVarSlots) s = DynVarSlot{};
    g.frontCutOffText.clear();
    g.rearCutOffText.clear();
}

void ResetView(GearState& g) { g.view = g.normalView; }

void LoadFrameDefaults(GearState& g) {
    for (const DimensionInfo& d : FrameDimensionTable())
        g.frameDefaults[static_cast<std::size_t>(d.id)] = d.defaultValue;
}

void ApplyFrameDefaults(GearState& g) {
    for (const DimensionInfo& d : FrameDimensionTable())
        DimensionRef(g, d) = g.frameDefaults[static_cast<std::size_t>(d.id)];
    PlaceFixedPivots(g, g);
}

void LoadCylinderDefaults(GearState& g) {
    for (const DimensionInfo& d : CylinderDimensionTable()) {
        if (d.store == DimStore::Cylinder) g.cylDefaults.slot(d.cylSlot) = d.defaultValue;
        else g.cylCLAboveDriverDefault = d.defaultValue;
    }
    g.cylDefaults.spare() = 0;
    UpdateValveSpindleHeight(g);
}

void ApplyCylinderDefaults(GearState& g) {
    g.fixedPivots.cylinderCentreY = g.cylCLAboveDriverDefault;
    for (int i = 0; i < kCylinderSlots; ++i) g.cyl.slot(i) = g.cylDefaults.slot(i);
    UpdateValveSpindleHeight(g);
}

namespace {
void ClearSlotsAndRefresh(GearState& g) {
    ClearDynVarSlots(g);
    g.dynVarStep = 0;
    for (int k = 1; k <= 4; ++k) StepSlot(g, k);
    ClearUndo(g);
}
} // namespace

void FrameReset(GearState& g) {
    ApplyFrameDefaults(g);
    ClearSlotsAndRefresh(g);
}

void CylinderReset(GearState& g) {
    ApplyCylinderDefaults(g);
    ClearSlotsAndRefresh(g);
}

MidGearResult FullReset(GearState& g) {
    FrameReset(g);
    CylinderReset(g);
    ReseedRockerLowerEnd(g);
    const MidGearResult r = FindMidGear(g);
    g.motion.reverseArmPosition = g.revArm.centre;
    g.view = g.normalView;
    g.designName = "Nominal";
    g.revArm.verticalScale = 1.5f;
    g.dynVarDisplay = false;
    g.undoDisplay = false;
    ClearUndo(g);
    return r;
}

MidGearResult StartUp(GearState& g) {
    ApplyProgramDefaults(g);
    ResetView(g);
    g.savedView = g.normalView;
    LoadFrameDefaults(g);
    LoadCylinderDefaults(g);
    ApplyFrameDefaults(g);
    ApplyCylinderDefaults(g);
    return FindMidGear(g);
}

int RevArmBarLimit(const GearState& g) {
    // Bar positions are ints; an absurd Max is held to the int range.
    const double v = kRevArmBarPerUnit * static_cast<double>(g.frame.revArmToCentMax);
    const std::int32_t n = Nearest(v);
    return n < 0 ? -n : n;
}

void UpdateValveSpindleHeight(GearState& g) { PlaceFixedPivots(g, g); }

} // namespace vx
