#include "cli/check_command.h"

#include <cmath>
#include <optional>
#include <string_view>

#include "cli/commands.h"
#include "cli/text_io.h"
#include "model/geometry_error.h"
#include "model/ports.h"
#include "model/solver.h"

namespace vx::cli {
namespace {

// Angles of one turn at most; a smaller step is refused.
constexpr double kMinStep = 0.001;

// One tick's model work at the angle, as the window does it.
GeometryCause SolveAt(GearState& g, float angle) {
    g.motion.driverAngle = angle;
    SolveLinkage(g);
    ComputePortOpenings(g);
    return g.solveCause;
}

} // namespace

bool ReadCheckOptions(const Args& args, CheckOptions& opt, std::string& error) {
    if (!NumberArg(args, "--revarm", opt.revArmOffset, error) || !NumberArg(args, "--step", opt.step, error))
        return false;
    if (!std::isfinite(opt.revArmOffset)) {
        error = "--revarm must be a finite number";
        return false;
    }
    if (!std::isfinite(opt.step) || opt.step < kMinStep || opt.step > 360) {
        error = "--step must lie between 0.001 and 360";
        return false;
    }
    return true;
}

int RunCheckCommand(CommandContext& ctx) {
    CheckOptions opt;
    std::string error;
    if (!ReadCheckOptions(ctx.args, opt, error)) return ctx.Usage(error);
    GearState* design = ctx.Design();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    g.motion.reverseArmPosition = ToModelFloat(static_cast<double>(g.revArm.centre) + opt.revArmOffset);
    const long long count = static_cast<long long>(std::ceil(360.0 / opt.step - 1e-9));

    // The rocker's lower end feeds each solve from the one before: run one
    // turn first so the checked turn starts from settled running.
    for (long long k = 0; k < count; ++k) SolveAt(g, ToModelFloat(static_cast<double>(k) * opt.step));

    std::string buf = "angle,cause,message\n";
    long long failures = 0;
    char message[160];
    for (long long k = 0; k < count; ++k) {
        const float angle = ToModelFloat(static_cast<double>(k) * opt.step);
        const GeometryCause cause = SolveAt(g, angle);
        if (cause == GeometryCause::None) continue;
        ++failures;
        FormatGeometryCause(cause, angle, message, sizeof message);
        AppendNumber(buf, angle);
        buf.push_back(',');
        AppendCsvField(buf, GeometryCauseName(cause));
        buf.push_back(',');
        AppendCsvField(buf, message);
        buf.push_back('\n');
    }
    if (failures == 0) {
        ctx.Say("closes at every angle");
        return kExitOk;
    }
    return ctx.WriteThen(buf, kExitFault);
}

} // namespace vx::cli
