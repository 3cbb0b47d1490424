#include "cli/turn_fault.h"

#include <string>

#include "model/gear/geometry_check.h"
#include "model/state/geometry_error.h"

namespace vx::cli {

int TurnFault(CommandContext& ctx, const GearState& g, float position) {
    const TurnCheck t = CheckTurn(g, position, 1.0);
    if (t.Closes()) return kExitOk;
    char cause[200];
    FormatGeometryCause(t.firstCause, t.firstAngle, cause, sizeof cause);
    return ctx.Fault("drawn, but the linkage does not close at " + std::to_string(t.failures) + " of " +
                     std::to_string(t.angles) + " angles at this reverse arm position; first: " + cause);
}

} // namespace vx::cli
