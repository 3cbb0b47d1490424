#include "model/workspace/motion.h"

#include <algorithm>
#include <array>

#include "model/gear/geometry_check.h"
#include "model/gear/ports.h"
#include "model/gear/reverse_arm.h"
#include "model/gear/solver.h"
#include "model/workspace/view.h"

namespace vx {
namespace {

struct StepRow {
    int lastPosition;
    StepAngleRow row;
};

constexpr std::array<StepRow, 16> kStepTable{{
    {704, {0.01f, 1, 5}},       {1591, {0.02f, 2, 10}},     {2408, {0.03f, 3, 15}},
    {3612, {0.05f, 5, 25}},     {4704, {0.1f, 10, 50}},     {5591, {0.2f, 20, 100}},
    {6408, {0.3f, 30, 150}},    {7612, {0.5f, 50, 250}},    {8704, {1, 100, 500}},
    {9591, {2, 200, 1000}},     {10408, {3, 300, 1500}},    {11612, {5, 500, 2500}},
    {12704, {10, 1000, 4500}},  {13591, {20, 2000, 4500}},  {14408, {30, 3000, 4500}},
    {kStepBarMax, {45, 4500, 4500}},
}};

} // namespace

StepAngleRow StepAngleForPosition(int position) {
    for (const StepRow& r : kStepTable)
        if (position <= r.lastPosition) return r.row;
    return kStepTable.back().row;
}

void AdvanceDriverAngle(MotionState& m) {
    double a = m.driverAngle;
    a = m.direction == Direction::Fwd ? a + m.tickStep : a - m.tickStep;
    m.driverAngle = static_cast<float>(a);
    if (static_cast<double>(m.driverAngle) > 360.1) m.driverAngle = static_cast<float>(static_cast<double>(m.driverAngle) - 360);
    if (m.driverAngle < 0.0f) m.driverAngle = static_cast<float>(static_cast<double>(m.driverAngle) + 360);
}

float StepDiagramAngle(float angle, double step) {
    auto a = static_cast<float>(static_cast<double>(angle) + step);
    if (step > 0) {
        while (a > 360) a = static_cast<float>(static_cast<double>(a) - 360);
    } else {
        while (a < 0) a = static_cast<float>(static_cast<double>(a) + 360);
    }
    return a;
}

void ApplyRevArmBar(GearState& g, int position) {
    MotionState& m = g.motion;
    m.reverseArmPosition = ReverseArmAtOffset(g, OffsetOfRevArmBar(position));
    m.direction = DirectionAt(m.reverseArmPosition, g.revArm.centre);
    g.frontCutOffText.clear();
    g.rearCutOffText.clear();
}

bool TickModel(GearState& g) {
    const bool solved = SolveLinkage(g);
    ComputePortOpenings(g);
    // A figure that is not a number (a NaN dimension passes every guard)
    // is a fault the window shows as the check and the events count it.
    if (solved && SolvedPositionCause(g, true) == GeometryCause::NotFinite) RaiseGeometryError(g, GeometryCause::NotFinite);
    ComputePivotScreenPoints(g);
    ComputeOutlinePoints(g);
    AdvanceDriverAngle(g.motion);
    return solved;
}

std::optional<StepAngleRow> ApplyStepBar(MotionState& m, int position) {
    if (!m.stepBarArmed) {
        m.stepBarArmed = true;
        return std::nullopt;
    }
    const StepAngleRow row = StepAngleForPosition(position);
    m.selectedStep = row.step;
    if (m.running) m.tickStep = m.selectedStep;
    return row;
}

int SelectStepPreset(MotionState& m, int i) {
    const StepPreset& p = kStepPresets.at(static_cast<std::size_t>(i));
    m.selectedStep = p.step;
    if (m.running) m.tickStep = m.selectedStep;
    return p.barPosition;
}

bool StepPresetEnabled(const MotionState& m, int i) {
    return m.selectedStep != kStepPresets.at(static_cast<std::size_t>(i)).step;
}

bool ToggleRunning(MotionState& m) {
    m.running = !m.running;
    m.tickStep = m.running ? m.selectedStep : 0;
    return m.running;
}

void StandAtHalfTurn(MotionState& m, bool half) {
    m.driverAngle = half ? 180.0f : 0.0f;
    m.tickStep = 0;
    m.running = false;
}

int DriverAngleBarPosition(double angle) { return Nearest(angle * 100); }

int NormalRevArmBarPosition(const GearState& g, int barEnd) {
    const double max = g.frame.revArmToCentMax;
    const double norm = g.frame.revArmToCentNorm;
    return max != 0 ? Nearest(norm * barEnd / max) : 0;
}

RevArmButtons RevArmButtonsAt(const GearState& g, int position) {
    const float norm = g.frame.revArmToCentNorm;
    const float fullFwd = g.revArm.centre - norm;
    const float fullRev = g.revArm.centre + norm;
    RevArmButtons b;
    b.centre = position != 0;
    b.forward = !(g.motion.reverseArmPosition == fullFwd);
    b.reverse = !(g.motion.reverseArmPosition == fullRev);
    return b;
}

void CentreReverseArm(GearState& g) {
    g.motion.reverseArmPosition = g.revArm.centre;
    g.frontCutOffText.clear();
    g.rearCutOffText.clear();
}

} // namespace vx
