#include "cli/commands.h"

#include <cmath>
#include <memory>
#include <optional>
#include <string_view>

#include "cli/balance_command.h"
#include "cli/check_command.h"
#include "cli/diagram_command.h"
#include "cli/events_command.h"
#include "cli/report_command.h"
#include "cli/pivots_command.h"
#include "cli/gui_app.h"
#include "cli/render_command.h"
#include "cli/text_io.h"
#include "cli/work_command.h"
#include "data/dimension_file.h"
#include "model/defaults.h"
#include "model/dimensions.h"
#include "model/ports.h"
#include "model/solver.h"

#ifndef VEXLIN_VERSION
#define VEXLIN_VERSION "unknown"
#endif

namespace vx::cli {
namespace {

constexpr std::string_view kProgram = "vexlin-cli";

constexpr std::string_view kHelp =
    R"(Usage: vexlin-cli [--design FILE] [--set FIELD=VALUE]... COMMAND [options]

Runs the Vexlin valve gear model without windows. The design starts from the
program defaults; --design opens a dimension data file (.vxd) over them, and
each --set changes one dimension (FIELD is its model name as listed by
"dims", e.g. --set stroke=3.25). After any --set the mid-gear position is
found again.

Commands:
  dims                 CSV of every dimension: id,field,name,value
  midgear              the mid-gear reverse arm position
  sweep [--revarm OFFSET] [--from A] [--to B] [--step S]
                       solve the gear at driver angles A, A+S, ... up to B
                       (defaults 0, 360, 10; S may be negative) with the
                       reverse arm at mid gear + OFFSET (default 0; -1 is
                       normal full forward, +1 full reverse for the default
                       design); one CSV row per angle with the pivots, the
                       link angle, valve offset, piston position, the four
                       port openings and the geometry error flag
  check [--revarm OFFSET] [--step S]
                       solve one turn at driver angles 0, S, 2S, ... (S
                       default 1) with the reverse arm at mid gear + OFFSET
                       and list, as CSV angle,cause,message, the angles where
                       the linkage does not close and why; exit status 1
                       when there is any, else 0 ("closes at every angle")
  pivots [--pivots N1,...,N6] [--step S] [--revarm OFFSET] [--csv]
                       the pivot data table of the main window: world Vert
                       (Y) and Horz (X) of up to six pivots (numbers 0..30,
                       default 0) at driver angles 0, S, 2S, ... up to 360
                       (S default 10, at least 0.01), the reverse arm at mid
                       gear + OFFSET; --csv writes angle,p<N>y,p<N>x,...
                       with 9 significant digits instead
  save FILE            write the design to a dimension data file
  balance --vary F1,F2,... [--bounds F=LO:HI]... [--positions O1,...]
          [--direction auto|forward|reverse] [--max-evals N] [--save OUT]
          [--weights cutoff=W,lead=W,release=W,compression=W,work=W]
                       search the dimensions F1, F2, ... (each within its
                       bounds; default its value +- 5 %, angles +- 3
                       degrees) for the design whose front and rear valve
                       events agree best at the positions (offsets from mid
                       gear; default -Norm, -3/4, -1/2 and -1/4 Norm); the
                       weights price the squared front-minus-rear differences
                       (default cutoff=1 per % of stroke, lead=10000 per
                       length unit, release=0, compression=0, work=0 per
                       point of indicator-card MEP as % of p1, with the
                       default settings of "work"); prints the
                       changes and the events before and after; writes the
                       balanced design only with --save; N default 300
  render ...           draw a picture (frame) or an animated GIF (animation) of
                       the design (see "render --help")
  diagram NAME ...     a valve diagram (sine, oval, steam, ports, work) as a
                       picture or as CSV figures (see "diagram --help")
  events [--positions O1,O2,...] [--direction auto|forward|reverse] [--csv]
                       the exact valve events of both cylinder ends at
                       reverse arm positions given as offsets from mid gear
                       (default: the nine notches -Norm, -3/4 Norm, ...,
                       +Norm; each held within mid gear +- Max): crank
                       angles and percent of stroke of admission, cut-off,
                       release and compression, lead, largest openings,
                       valve travel, die slip; direction auto runs forward
                       below mid gear; --csv writes one row per position
                       and end; exit status 1 when the linkage does not
                       close somewhere in a turn asked for
  work [--positions O1,...] [--direction auto|forward|reverse] [--pressure P1]
       [--back-pressure PB] [--clearance C] [--exponent N] [--cylinders K] [--csv]
                       the ideal indicator card of each cylinder end from the
                       exact valve events at the positions (as for events):
                       mean effective pressure front and rear, steam per
                       stroke and per work, tractive effort; defaults p1 200,
                       pb 18 (absolute), clearance 0.08 of the swept volume,
                       n 1, 2 cylinders; exit status 1 when an end has no card
  report --out FILE.pdf [--paper a4|letter|auto]
                       the design report as a PDF: title block, the 54
                       dimensions, the geometry check, the gear in full
                       forward, mid and full reverse gear, the four valve
                       diagrams and the valve events of the nine notches
                       and their indicator cards;
                       the paper is the locale's (LC_PAPER) unless given

Options:
  --design FILE        open a dimension data file first
  --set FIELD=VALUE    set one dimension (may be repeated)
  --help               show this help
  --version            show the version

Numbers are read in the C locale; "nan" and "inf" are accepted.
Exit status: 0 done, 1 failure, 2 usage error.
)";

struct SetValue {
    int id;
    float value;
};

struct Invocation {
    std::optional<std::string> designPath;
    std::vector<SetValue> sets;
    std::string command;
    std::vector<std::string> commandArgs;
};

int UsageError(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << message << "\nTry '" << kProgram << " --help'.\n";
    return kExitUsage;
}

int Failure(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << message << "\n";
    return kExitFailure;
}

bool ParseSet(const std::string& text, SetValue& set, std::string& error) {
    const auto eq = text.find('=');
    if (eq == std::string::npos) {
        error = "--set needs FIELD=VALUE, got " + Quote(text);
        return false;
    }
    const std::string field = text.substr(0, eq);
    const std::string valueText = text.substr(eq + 1);
    const DimensionInfo* d = FindDimensionByField(field);
    if (!d) {
        error = "unknown dimension field " + Quote(field) + " (\"dims\" lists them)";
        return false;
    }
    const auto v = ParseNumber(valueText);
    if (!v) {
        error = "not a number: " + Quote(valueText) + " (for " + field + ")";
        return false;
    }
    set = {d->id, ToModelFloat(*v)};
    return true;
}

// Reads the words before the command and the command name. Returns an exit
// code when the run ends here (help, version, usage error), else nullopt.
std::optional<int> ParseInvocation(const std::vector<std::string>& args, Invocation& inv, std::ostream& out,
                                   std::ostream& err) {
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out << kHelp;
            return kExitOk;
        }
        if (a == "--version") {
            out << kProgram << " " << VEXLIN_VERSION << "\n";
            return kExitOk;
        }
        std::optional<std::string> value;
        if (TakeOption(args, i, "--design", value)) {
            if (!value) return UsageError(err, "--design needs a file name");
            if (inv.designPath) return UsageError(err, "--design given more than once");
            inv.designPath = *value;
            continue;
        }
        if (TakeOption(args, i, "--set", value)) {
            if (!value) return UsageError(err, "--set needs FIELD=VALUE");
            SetValue set{};
            std::string error;
            if (!ParseSet(*value, set, error)) return UsageError(err, error);
            inv.sets.push_back(set);
            continue;
        }
        if (!a.empty() && a[0] == '-') return UsageError(err, "unknown option " + Quote(a));
        break;
    }
    if (i >= args.size()) return UsageError(err, "no command given");
    inv.command = args[i];
    inv.commandArgs.assign(args.begin() + static_cast<std::ptrdiff_t>(i) + 1, args.end());
    return std::nullopt;
}

// Defaults, the file, the --set values. Returns an exit code on failure.
std::optional<int> PrepareDesign(const Invocation& inv, GearState& g, MidGearResult& lastSearch,
                                 std::ostream& err) {
    lastSearch = StartUp(g);
    if (inv.designPath) {
        const FileResult r = OpenDesign(g, *inv.designPath);
        if (!r.ok) return Failure(err, r.error);
        lastSearch = r.midGear;
    }
    for (const SetValue& s : inv.sets) CommitDimension(g, s.id, s.value);
    if (!inv.sets.empty()) lastSearch = FindMidGear(g);
    return std::nullopt;
}

void AppendSweepHeader(std::string& buf) {
    buf += "angle";
    for (int p = 0; p < kPivotCount; ++p) {
        const std::string n = std::to_string(p);
        buf += ",p" + n + "x,p" + n + "y";
    }
    buf += ",linkAngle,valveOffset,pistonPosition,frontSteamOpening,frontExhaustOpening,"
           "rearSteamOpening,rearExhaustOpening,geometryError\n";
}

bool Flush(std::string& buf, std::ostream& out) {
    out.write(buf.data(), static_cast<std::streamsize>(buf.size()));
    buf.clear();
    return static_cast<bool>(out);
}

} // namespace

bool ParseSweepOptions(const std::vector<std::string>& args, SweepOptions& opt, std::string& error) {
    const NumberOption named[] = {
        {"--revarm", &opt.revArmOffset}, {"--from", &opt.from}, {"--to", &opt.to}, {"--step", &opt.step}};
    if (!ReadNumberOptions(args, named, "sweep", error)) return false;
    if (!std::isfinite(opt.from) || !std::isfinite(opt.to) || !std::isfinite(opt.step)) {
        error = "sweep: --from, --to and --step must be finite numbers";
        return false;
    }
    if (opt.step == 0) {
        error = "sweep: --step must not be 0";
        return false;
    }
    // Rows k = 0, 1, ... while A + k*S has not passed B. A small allowance
    // keeps B itself when rounding lands the last angle a hair beyond it.
    const double span = (opt.to - opt.from) / opt.step;
    if (!std::isfinite(span) || span >= static_cast<double>(kMaxSweepRows)) {
        error = "sweep: too many rows (at most " + std::to_string(kMaxSweepRows) + ")";
        return false;
    }
    opt.rows = span < -1e-9 ? 0 : static_cast<long long>(std::floor(span + 1e-9)) + 1;
    if (opt.rows > kMaxSweepRows) {
        error = "sweep: too many rows (at most " + std::to_string(kMaxSweepRows) + ")";
        return false;
    }
    return true;
}

bool WriteSweep(GearState& g, const SweepOptions& opt, std::ostream& out) {
    g.motion.reverseArmPosition = ToModelFloat(static_cast<double>(g.revArm.centre) + opt.revArmOffset);

    std::string buf;
    buf.reserve(1 << 17);
    AppendSweepHeader(buf);
    for (long long k = 0; k < opt.rows; ++k) {
        const float angle = ToModelFloat(opt.from + static_cast<double>(k) * opt.step);
        g.motion.driverAngle = angle;
        g.geometryError = false;
        SolveLinkage(g);
        ComputePortOpenings(g);

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

int RunDims(const GearState& g, std::ostream& out) {
    std::string buf = "id,field,name,value\n";
    for (const DimensionInfo& d : AllDimensions()) {
        buf += std::to_string(d.id);
        buf.push_back(',');
        AppendCsvField(buf, d.field);
        buf.push_back(',');
        AppendCsvField(buf, d.shortName);
        buf.push_back(',');
        AppendNumber(buf, DimensionValue(g, d));
        buf.push_back('\n');
    }
    return Flush(buf, out) ? kExitOk : kExitFailure;
}

int RunMidGear(const GearState& g, MidGearResult lastSearch, std::ostream& out, std::ostream& err) {
    if (lastSearch == MidGearResult::NotFound) return Failure(err, "mid gear not found");
    std::string buf;
    AppendNumber(buf, g.revArm.centre);
    buf.push_back('\n');
    return Flush(buf, out) ? kExitOk : kExitFailure;
}

int RunSweep(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SweepOptions opt;
    std::string error;
    if (!ParseSweepOptions(args, opt, error)) return UsageError(err, error);
    if (!WriteSweep(g, opt, out)) return Failure(err, "sweep: cannot write the output");
    return kExitOk;
}

int RunSave(GearState& g, const std::vector<std::string>& args, std::ostream& /*out*/, std::ostream& err) {
    if (args.size() != 1) return UsageError(err, "save needs exactly one file name");
    const FileResult r = SaveDesign(g, args[0]);
    if (!r.ok) return Failure(err, r.error);
    return kExitOk;
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    Invocation inv;
    if (auto code = ParseInvocation(args, inv, out, err)) return *code;

    // Usage errors of the command's own options come before any file work.
    const std::string& cmd = inv.command;
    if (cmd != "dims" && cmd != "midgear" && cmd != "sweep" && cmd != "save" && cmd != "render" &&
        cmd != "check" && cmd != "pivots" && cmd != "diagram" && cmd != "events" &&
        cmd != "report" && cmd != "balance" && cmd != "work")
        return UsageError(err, "unknown command " + Quote(cmd));
    // "COMMAND --help": render and diagram have their own; the others are
    // described in the program's.
    const bool helpAsked =
        inv.commandArgs.size() == 1 && (inv.commandArgs[0] == "--help" || inv.commandArgs[0] == "-h");
    if (helpAsked && cmd != "render" && cmd != "diagram") {
        out << kHelp;
        return kExitOk;
    }
    if ((cmd == "dims" || cmd == "midgear") && !inv.commandArgs.empty())
        return UsageError(err, cmd + " takes no arguments, got " + Quote(inv.commandArgs.front()));
    if (cmd == "save" && inv.commandArgs.size() != 1) return UsageError(err, "save needs exactly one file name");
    if (cmd == "sweep") {
        SweepOptions opt;
        std::string error;
        if (!ParseSweepOptions(inv.commandArgs, opt, error)) return UsageError(err, error);
    }
    if (cmd == "pivots") {
        PivotsOptions opt;
        std::string error;
        if (!ParsePivotsOptions(inv.commandArgs, opt, error)) return UsageError(err, error);
    }
    if (cmd == "balance") {
        BalanceOptions opt;
        std::string error;
        if (!ParseBalanceOptions(inv.commandArgs, opt, error)) return UsageError(err, error);
    }
    if (cmd == "check") {
        CheckOptions opt;
        std::string error;
        if (!ParseCheckOptions(inv.commandArgs, opt, error)) return UsageError(err, error);
    }

    if (cmd == "events") {
        EventsOptions opt;
        std::string error;
        if (!ParseEventsOptions(inv.commandArgs, opt, error)) return UsageError(err, error);
    }

    if (cmd == "work") {
        WorkOptions opt;
        std::string error;
        if (!ParseWorkOptions(inv.commandArgs, opt, error)) return UsageError(err, error);
    }

    if (cmd == "report") {
        std::string file, paper, error;
        if (!ParseReportOptions(inv.commandArgs, file, paper, error)) return UsageError(err, error);
    }

    if (cmd == "diagram" && !helpAsked) {
        DiagramOptions opt;
        std::string error;
        if (!ParseDiagramOptions(inv.commandArgs, opt, error)) return UsageError(err, "diagram: " + error);
    }

    auto g = std::make_unique<GearState>();
    MidGearResult lastSearch = MidGearResult::Found;
    if (auto code = PrepareDesign(inv, *g, lastSearch, err)) return *code;

    if (cmd == "dims") return RunDims(*g, out);
    if (cmd == "midgear") return RunMidGear(*g, lastSearch, out, err);
    if (cmd == "sweep") return RunSweep(*g, inv.commandArgs, out, err);
    if (cmd == "save") return RunSave(*g, inv.commandArgs, out, err);
    if (cmd == "check") return RunCheck(*g, inv.commandArgs, out, err);
    if (cmd == "pivots") return RunPivots(*g, inv.commandArgs, out, err);
    if (cmd == "events") return RunEvents(*g, inv.commandArgs, out, err);
    if (cmd == "balance") return RunBalance(*g, inv.commandArgs, out, err);
    if (cmd == "work") return RunWork(*g, inv.commandArgs, out, err);
    EnsureGuiApplication();
    const int code = cmd == "diagram"  ? RunDiagram(*g, inv.commandArgs, out, err)
                     : cmd == "report" ? RunReport(*g, inv.commandArgs, out, err)
                                       : RunRender(*g, inv.commandArgs, out, err);
    ReleaseGuiApplication();
    return code;
}

} // namespace vx::cli
