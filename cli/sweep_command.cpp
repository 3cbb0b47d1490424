#include "cli/sweep_command.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <ostream>

#include "cli/text_io.h"
#include "model/gear/geometry_check.h"
#include "model/gear/ports.h"
#include "model/gear/reverse_arm.h"
#include "model/gear/solver.h"

namespace vx::cli {
namespace {

bool Flush(std::string& buf, std::ostream& out) {
    out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
    buf.clear();
    return static_cast<bool>(out);
}

// False when the output could not be written. A row where the linkage did
// not close, or left a figure that is not finite, has its figures empty
// and geometryError 1; the first such row is kept in `firstFault`.
bool WriteSweep(GearState& g, const SweepOptions& opt, std::ostream& out, std::string& firstFault, long long& faults) {
    g.motion.reverseArmPosition = ReverseArmAtOffset(g, opt.revArmOffset);

    std::string buf;
    buf.reserve(1 << 17);
    buf += "angle";
    for (int p = 0; p < kPivotCount; ++p) {
        const std::string n = std::to_string(p);
        buf += ",p" + n + "x,p" + n + "y";
    }
    buf += ",linkAngle,valveOffset,pistonPosition,frontSteamOpening,frontExhaustOpening,"
           "rearSteamOpening,rearExhaustOpening,geometryError\n";
    for (long long k = 0; k < opt.rows; ++k) {
        const float angle = ToModelFloat(opt.from + static_cast<double>(k) * opt.step);
        g.motion.driverAngle = angle;
        g.geometryError = false;
        SolveLinkage(g);
        const GeometryCause cause = g.geometryError ? g.solveCause : PistonAndPortsFault(g);
        if (g.geometryError || cause != GeometryCause::None) {
            if (faults++ == 0) {
                char message[160];
                FormatGeometryCause(cause == GeometryCause::None ? GeometryCause::Guard : cause, angle, message,
                                    sizeof message);
                firstFault = message;
            }
            AppendNumber(buf, angle);
            buf.append(2 * kPivotCount + 7, ',');
            buf += ",1\n";
            if (buf.size() > (1 << 16) && !Flush(buf, out)) return false;
            continue;
        }

        AppendNumber(buf, angle);
        for (int p = 0; p < kPivotCount; ++p) {
            buf.push_back(',');
            AppendNumber(buf, g.piv.x[p]);
            buf.push_back(',');
            AppendNumber(buf, g.piv.y[p]);
        }
        for (const float v : {g.linkAngle, g.events.valveOffset, g.ports.pistonPosition, g.ports.frontSteamOpening,
                              g.ports.frontExhaustOpening, g.ports.rearSteamOpening, g.ports.rearExhaustOpening}) {
            buf.push_back(',');
            AppendNumber(buf, v);
        }
        buf += g.geometryError ? ",1\n" : ",0\n";
        if (buf.size() > (1 << 16) && !Flush(buf, out)) return false;
    }
    return Flush(buf, out) && static_cast<bool>(out.flush());
}

} // namespace

bool ReadSweepOptions(const Args& args, SweepOptions& opt, std::string& error) {
    if (!NumberArg(args, "--revarm", opt.revArmOffset, error) || !NumberArg(args, "--from", opt.from, error) ||
        !NumberArg(args, "--to", opt.to, error) || !NumberArg(args, "--step", opt.step, error))
        return false;
    if (!std::isfinite(opt.from) || !std::isfinite(opt.to) || !std::isfinite(opt.step)) {
        error = "--from, --to and --step must be finite numbers";
        return false;
    }
    if (opt.step == 0) {
        error = "--step must not be 0";
        return false;
    }
    // Rows k = 0, 1, ... while A + k*S has not passed B. A small allowance
    // keeps B itself when rounding lands the last angle a hair beyond it.
    const double span = (opt.to - opt.from) / opt.step;
    if (!std::isfinite(span) || span >= static_cast<double>(kMaxSweepRows)) {
        error = "too many rows (at most " + std::to_string(kMaxSweepRows) + ")";
        return false;
    }
    opt.rows = span < -1e-9 ? 0 : static_cast<long long>(std::floor(span + 1e-9)) + 1;
    if (opt.rows > kMaxSweepRows) {
        error = "too many rows (at most " + std::to_string(kMaxSweepRows) + ")";
        return false;
    }
    return true;
}

int RunSweepCommand(CommandContext& ctx, const SweepOptions& opt) {
    GearState* g = ctx.ValidDesign();
    if (!g) return ctx.DesignExitCode();
    errno = 0;
    std::string firstFault;
    long long faults = 0;
    if (!WriteSweep(*g, opt, ctx.out, firstFault, faults))
        return ctx.CannotRun(std::string("cannot write the output: ") + (errno ? std::strerror(errno) : "unknown error"));
    if (faults > 0)
        return ctx.Fault("the linkage does not close at " + std::to_string(faults) + " of " + std::to_string(opt.rows) +
                         " angles (their figures are left empty); first: " + firstFault);
    return kExitOk;
}

} // namespace vx::cli
