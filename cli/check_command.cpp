#include "cli/check_command.h"

#include <array>
#include <cmath>

#include "cli/text_io.h"
#include "model/gear/design_validity.h"
#include "model/gear/geometry_check.h"
#include "model/state/geometry_error.h"
#include "model/gear/ports.h"
#include "model/gear/reverse_arm.h"
#include "model/gear/solver.h"

namespace vx::cli {
namespace {

// Angles of one turn at most; a smaller step is refused.
constexpr double kMinStep = 0.001;

// One tick's model work at the angle, as the window does it.
void SolveAt(GearState& g, float angle) {
    g.motion.driverAngle = angle;
    SolveLinkage(g);
    ComputePortOpenings(g);
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
    opt.summary = args.Has("--summary");
    return true;
}

int RunCheckCommand(CommandContext& ctx, const CheckOptions& opt) {
    GearState* design = ctx.Design();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    g.motion.reverseArmPosition = ReverseArmAtOffset(g, opt.revArmOffset);
    const long long count = static_cast<long long>(std::ceil(360.0 / opt.step - 1e-9));

    std::string buf = "angle,cause,message\n";
    long long failures = 0;
    std::string first;

    // Dimensions the gear cannot be built with are named before any solve.
    const std::vector<DesignFault> faults = DesignFaults(g);
    const auto badLengths = static_cast<int>(faults.size());
    for (const DesignFault& f : faults) {
        const std::string message = DescribeDesignFault(f);
        buf += ',';
        AppendCsvField(buf, DesignFaultName(f.kind));
        buf += ',';
        AppendCsvField(buf, message);
        buf += '\n';
        if (first.empty()) first = message;
    }

    char message[160];
    if (badLengths == 0) {
        // The rocker's lower end feeds each solve from the one before: run
        // one turn first so the checked turn starts from settled running.
        for (long long k = 0; k < count; ++k) SolveAt(g, ToModelFloat(static_cast<double>(k) * opt.step));
        for (long long k = 0; k < count; ++k) {
            const float angle = ToModelFloat(static_cast<double>(k) * opt.step);
            SolveAt(g, angle);
            const GeometryCause cause = SolvedPositionCause(g, true);
            if (cause == GeometryCause::None) continue;
            ++failures;
            FormatGeometryCause(cause, angle, message, sizeof message);
            if (first.empty()) first = message;
            AppendNumber(buf, angle);
            buf.push_back(',');
            AppendCsvField(buf, GeometryCauseName(cause));
            buf.push_back(',');
            AppendCsvField(buf, message);
            buf.push_back('\n');
        }
    }
    const bool closes = badLengths == 0 && failures == 0;
    if (opt.summary) {
        std::string verdict;
        if (closes) {
            verdict = "closes at every angle\n";
        } else if (badLengths > 0) {
            verdict = (faults.front().kind == DesignFaultKind::NotAboveZero ? "a length is not above zero: "
                                                                            : "the design is not usable: ") +
                      first + "\n";
        } else {
            verdict = "does not close at " + std::to_string(failures) + " of " + std::to_string(count) +
                      " angles; first: " + first + "\n";
        }
        return ctx.WriteThen(verdict, closes ? kExitOk : kExitFault);
    }
    return ctx.WriteThen(buf, closes ? kExitOk : kExitFault);
}

} // namespace vx::cli
