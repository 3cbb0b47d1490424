// An engine "on the shop floor" for the valve setting's tests and
// benchmark: the default design built with known errors, and its events
// measured at the forward notches as a fitter would measure them, with
// noise drawn from a fixed seed.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "model/analysis/valve_fit.h"
#include "model/state/gear_state.h"

namespace vx::test {

// The known errors of the built engine.
struct BuildError {
    const char* field;
    float change;
};
inline constexpr BuildError kBuildErrors[] = {
    {"valveCtrToJoint", 0.03f}, {"eccFwdRod", -0.02f}, {"eccFwdAngle", 0.5f}};

// `design` with each change committed as an editor commits it and its mid
// gear found again.
std::unique_ptr<GearState> BuiltEngine(const GearState& design, std::span<const BuildError> errors);

// What is measured at each offset: the cut-off, the release and the lead
// of both ends (cut-off and release in percent, the lead as a length).
// `noise`: each percentage moves by up to +- noise points, each lead by up
// to +- noise hundredths of the stroke, uniformly, from `seed`; `weight`
// goes into every row (0: none, the unit's default).
std::vector<Measurement> MeasureEngine(const GearState& engine, std::span<const double> offsets, double noise,
                                       std::uint32_t seed, double weight = 0);

} // namespace vx::test
