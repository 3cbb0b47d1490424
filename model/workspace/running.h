// The gear running as the main window runs it, without a picture: the
// warm-up revolution and the run up to an angle that "render frame
// --running", "render animation" and the main window's animation export
// start from.
#pragma once

#include <memory>

#include "model/state/gear_state.h"

namespace vx {

// Step angles a running gear may take, in degrees per tick.
constexpr float kMinRunningStep = 0.01f;
constexpr float kMaxRunningStep = 45.0f;

// Ticks in one revolution at `step` degrees per tick: ceil(360 / step);
// a step outside the running range is taken at its nearest limit.
long long TicksPerRevolution(float step);

// The warm-up revolution: from the current driver angle A0, the gear runs
// as the window runs it at `step` degrees per tick in the current direction
// for one revolution of frames (AdvanceFrame), so that the frame-to-frame
// state (cut-off readouts, steam colours and densities) and the solver's
// starting points are those of a running gear. Leaves the motion running at
// that step with driverAngle back at A0.
void WarmUpRunning(GearState& g, float step);

// After a warm-up, runs on up to the frame that solves `angle`: as many
// frames as the running angles from the current one take to reach `angle`
// exactly, or else the most that do not pass it (within one revolution);
// then driverAngle := angle. The next frame solves that angle with the
// state the gear has there when it runs.
void RunUpTo(GearState& g, float angle);

// One revolution of a running gear, on a copy of the gear it starts from
// (which stays as it is): the warm-up at `step`, then, frame by frame, the
// frame's advance (its sounds are the window's, not a file's). The drawing
// reads Gear() after each Next().
class RunningRevolution {
public:
    RunningRevolution(const GearState& start, float step);
    // Advances one frame; false once the revolution's frames are done.
    bool Next();
    const GearState& Gear() const { return *gear_; }
    long long Frame() const { return frame_; }           // 0 for the first
    float SolvedAngle() const { return solvedAngle_; }   // the angle it solved
    long long Frames() const { return frames_; }

private:
    std::unique_ptr<GearState> gear_;
    long long frames_ = 0;
    long long frame_ = -1;
    float solvedAngle_ = 0;
};

} // namespace vx
