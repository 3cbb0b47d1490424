#include "model/workspace/running.h"

#include <algorithm>
#include <cmath>

#include "model/workspace/motion.h"
#include "model/workspace/frame_advance.h"

namespace vx {
namespace {

float RunningStep(float step) {
    if (!(step >= kMinRunningStep)) return kMinRunningStep; // NaN too
    return step > kMaxRunningStep ? kMaxRunningStep : step;
}

} // namespace

long long TicksPerRevolution(float step) {
    return static_cast<long long>(std::ceil(360.0 / static_cast<double>(RunningStep(step))));
}

void WarmUpRunning(GearState& g, float step) {
    step = RunningStep(step);
    const float start = g.motion.driverAngle;
    g.motion.selectedStep = g.motion.tickStep = step;
    g.motion.running = true;
    for (long long k = TicksPerRevolution(step); k > 0; --k) AdvanceFrame(g);
    g.motion.driverAngle = start;
}

void RunUpTo(GearState& g, float angle) {
    // The angles the ticks solve from here, found without solving: the
    // first that is `angle` itself, or else the last before passing it.
    const long long ticks = TicksPerRevolution(g.motion.tickStep);
    const double step = RunningStep(g.motion.tickStep);
    const double travel = g.motion.direction == Direction::Fwd
                              ? static_cast<double>(angle) - static_cast<double>(g.motion.driverAngle)
                              : static_cast<double>(g.motion.driverAngle) - static_cast<double>(angle);
    double toGo = std::fmod(travel, 360.0);
    if (toGo < 0) toGo += 360;
    MotionState m = g.motion;
    long long count = 0;
    bool exact = false;
    for (long long k = 0; k < ticks; ++k) {
        if (m.driverAngle == angle) {
            count = k;
            exact = true;
            break;
        }
        AdvanceDriverAngle(m);
    }
    if (!exact) {
        count = 0; // NaN or no room: none
        if (toGo >= 0) count = std::min<long long>(ticks - 1, static_cast<long long>(std::floor(toGo / step)));
    }
    for (long long k = 0; k < count; ++k) AdvanceFrame(g);
    g.motion.driverAngle = angle;
}

RunningRevolution::RunningRevolution(const GearState& start, float step)
    : gear_(std::make_unique<GearState>(start)), frames_(TicksPerRevolution(step)) {
    WarmUpRunning(*gear_, step);
}

bool RunningRevolution::Next() {
    if (frame_ + 1 >= frames_) return false;
    ++frame_;
    solvedAngle_ = gear_->motion.driverAngle;
    AdvanceFrame(*gear_);
    return true;
}

} // namespace vx
