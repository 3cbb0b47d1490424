#include "cli/commands.h"

#include <cerrno>
#include <cmath>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <sstream>
#include <string_view>

#include "cli/animation_command.h"
#include "cli/balance_command.h"
#include "cli/check_command.h"
#include "cli/command_context.h"
#include "cli/compare_command.h"
#include "cli/diagram_command.h"
#include "cli/events_command.h"
#include "cli/gui_app.h"
#include "cli/pivots_command.h"
#include "cli/render_command.h"
#include "cli/report_command.h"
#include "cli/sensitivity_command.h"
#include "cli/tolerance_command.h"
#include "cli/work_command.h"
#include "cli/text_io.h"
#include "data/dimension_file.h"
#include "model/defaults.h"
#include "model/dimensions.h"
#include "model/ports.h"
#include "model/reverse_arm.h"
#include "model/solver.h"

#ifndef VEXLIN_VERSION
#define VEXLIN_VERSION "unknown"
#endif

namespace vx::cli {
namespace {

constexpr std::string_view kProgram = "vexlin-cli";

int RunDims(CommandContext& ctx);
int RunMidGear(CommandContext& ctx);
int RunSweep(CommandContext& ctx);
int RunSave(CommandContext& ctx);
int RunHelp(CommandContext& ctx);

// ------------------------------------------------------------ the table

constexpr std::string_view kRevArmHelp =
    "reverse arm position as an offset from mid gear (-1 is normal full forward, +1 full reverse for the "
    "default design)";

constexpr OptionEntry kSweepOptions[] = {
    {"--revarm", "OFFSET", "0", "any finite number", kRevArmHelp},
    {"--from", "A", "0", "any finite number", "first driver angle, degrees"},
    {"--to", "B", "360", "any finite number", "last driver angle, degrees"},
    {"--step", "S", "10", "any finite number but 0; negative runs from A down to B",
     "degrees between rows"},
};

constexpr OptionEntry kCheckOptions[] = {
    {"--revarm", "OFFSET", "0", "any finite number", kRevArmHelp},
    {"--step", "S", "1", "0.001 to 360", "degrees between the angles checked"},
    {"--summary", "", "", "", "the one-line verdict on standard output instead of the rows"},
};

constexpr OptionEntry kPivotsOptions[] = {
    {"--pivots", "N1,...", "2,3,4,8,10,11: crank pin, crosshead, valve spindle pin, die, eccentric rod pins",
     "one to six different pivot numbers 0 to 30", "the pivots of the columns"},
    {"--step", "S", "10", "0.01 to 360", "degrees between rows"},
    {"--revarm", "OFFSET", "0", "any finite number", kRevArmHelp},
    {"--csv", "", "", "", "CSV angle,p<N>x,p<N>y,... instead of the table"},
    {"--list", "", "", "", "what each pivot number is, as CSV pivot,role"},
};

constexpr std::string_view kDirectionHelp =
    "the direction the gear runs: auto runs forward below mid gear and in reverse above it";

constexpr OptionEntry kEventsOptions[] = {
    {"--positions", "O1,...", "the nine notches -Norm, -3/4 Norm, ..., +Norm",
     "1 to 1000 finite offsets; each held within mid gear +- Max",
     "reverse arm positions as offsets from mid gear"},
    {"--direction", "D", "auto", "auto, forward or reverse", kDirectionHelp},
    {"--csv", "", "", "", "one CSV row per position and end of the cylinder instead of the tables"},
};

constexpr OptionEntry kCompareOptions[] = {
    {"--positions", "O1,...", "the nine notches of each design",
     "1 to 1000 finite offsets; each held within that design's mid gear +- Max",
     "reverse arm positions as offsets from each design's own mid gear"},
    {"--direction", "D", "auto", "auto, forward or reverse", kDirectionHelp},
    {"--csv", "", "", "", "CSV offset,end,name,a,b,difference instead of the tables (dimension rows first, "
                          "with empty offset and end)"},
};

constexpr OptionEntry kBalanceOptions[] = {
    {"--vary", "F1,...", "", "dimension fields as \"dims\" lists them, not revArmToCentMax",
     "the dimensions to search (required)"},
    {"--bounds", "F=LO:HI", "the value +- 5 %, angles +- 3 degrees", "finite, LO not above HI",
     "the range of a varied dimension", true},
    {"--positions", "O1,...", "-Norm,-3/4,-1/2,-1/4 Norm", "finite offsets",
     "reverse arm positions as offsets from mid gear"},
    {"--direction", "D", "auto", "auto, forward or reverse", kDirectionHelp},
    {"--weights", "NAME=W,...", "cutoff=1,lead=10000,release=0,compression=0,work=0",
     "names cutoff, lead, release, compression, work; finite, not below 0, not all 0",
     "the prices of the squared front-minus-rear differences (cut-off per % of stroke, lead per length unit, "
     "work per point of MEP as % of p1, from the ideal cards at the default work settings)"},
    {"--max-evals", "N", "300", "1 to 1000000", "the most designs the search tries"},
    {"--save", "OUT", "", "", "write the balanced design to this dimension data file (checked before the search)"},
    {"--csv", "", "", "",
     "CSV instead of the tables: field,before,after,lower,upper for each dimension varied (values that paste "
     "back as --set), a blank line, then the events of both designs as \"events --csv\" writes them, each row "
     "led by design before or after"},
};

constexpr OptionEntry kReportOptions[] = {
    {"--out", "FILE.pdf", "", "", "the PDF file (required)"},
    {"--paper", "P", "auto: the locale's (LC_PAPER)", "a4, letter or auto, in any case", "the paper size"},
    {"--title", "TEXT", "the design file's name, or Nominal", "", "the design's name in the report"},
};

constexpr OptionEntry kFrameOptions[] = {
    {"--out", "FILE", "", "", "the picture file (required): by its suffix PNG (.png, also a name without one, and "
                              "\"-\" for standard output), SVG (.svg) or PDF (.pdf, a page the picture's size)"},
    {"--size", "WxH", "1280x1024", "1x1 to 1280x1024",
     "only the top-left W x H pixels of the picture, e.g. 632x380 for what the window shows"},
    {"--angle", "A", "the design's, 0", "any number", "driver angle in degrees"},
    {"--revarm", "OFFSET", "0", "any number", kRevArmHelp},
    {"--zoom", "Z", "the design's, 28.5", "a finite number above 0", "pixels per length unit"},
    {"--pan-h", "H", "the design's, 110", "any number", "picture x of the driving axle"},
    {"--pan-v", "V", "the design's, 270", "any number", "picture y of the driving axle"},
    {"--no-screen-data", "", "", "", "the picture without the screen data"},
    {"--steam", "", "", "", "with the steam display"},
    {"--large-font", "", "", "", "the screen data at the large font (places and sizes)"},
    {"--line-width", "W", "1", "1 or 2", "pen width"},
    {"--running", "STEP", "stopped", "0.01 to 45",
     "run the gear at STEP degrees per tick as the window runs it, from the design's driver angle: one "
     "revolution, then on up to the angle (the cut-off readouts, steam colours and densities seen at that "
     "moment)"},
};

constexpr OptionEntry kAnimationOptions[] = {
    {"--out", "FILE", "", "", "the GIF file, or a folder for PNG frames (ends in \"/\" or is one) (required)"},
    {"--step", "S", "10: 36 frames", "0.01 to 45", "degrees per frame"},
    {"--revarm", "OFFSET", "0", "any finite number", kRevArmHelp},
    {"--steam", "", "", "", "with the steam display"},
    {"--no-screen-data", "", "", "", "the pictures without the screen data"},
    {"--large-font", "", "", "", "the screen data at the large font (places and sizes)"},
    {"--fps", "N", "25", "a whole number 1 to 100", "frames per second of the GIF"},
    {"--force", "", "", "",
     "remove the frame files of an earlier animation in the folder that this one does not write over"},
    {"--size", "WxH", "1280x1024", "1x1 to 1280x1024",
     "only the top-left W x H pixels of the picture, e.g. 632x380 for what the window shows"},
};

constexpr OptionEntry kDiagramOptions[] = {
    {"--out", "FILE", "", "", "the picture file: by its suffix PNG (.png, also a name without one, and \"-\" for "
                              "standard output), SVG (.svg) or PDF (.pdf: one page of the locale's paper)"},
    {"--data", "", "", "",
     "instead of a picture, the figures behind it as CSV on standard output (header line first, 4 decimals, "
     "an empty field where there is no figure)"},
    {"--positions", "O1,...", "0,-Norm,+Norm", "up to 9 finite offsets; an empty list draws no curves",
     "reverse arm positions as offsets from mid gear, each held within mid gear +- Max; not used by ports"},
    {"--samples", "", "", "",
     "sine and oval with --data: the drawn valve travel points instead of the lead and lap figures"},
    {"--mode", "M", "both", "forward, reverse or both", "ports only: the running direction drawn"},
    {"--scale", "S", "the design's", "a finite number; at least 0.1 is used",
     "vertical scale of the sine and oval diagrams"},
};

constexpr std::string_view kDiagramAbout =
    "Draws one valve diagram of the design as its window draws it, from the design's start-up state, or "
    "writes the figures behind it as CSV (--data). One of --out and --data is required.";

constexpr OptionEntry kSensitivityOptions[] = {
    {"--positions", "O1,...", "the nine notches", "finite offsets", "reverse arm positions as offsets from mid gear"},
    {"--direction", "D", "auto", "auto, forward or reverse", "the running direction; auto runs forward up to mid gear"},
    {"--fields", "F1,...", "every dimension", "field names as \"dims\" lists them", "the dimensions varied"},
    {"--of", "FIGURE", "cutOffDiff",
     "cutOffFront, cutOffRear, releaseFront, releaseRear, compressionFront, compressionRear, admissionFront, "
     "admissionRear, leadFront, leadRear, cutOffDiff, leadDiff",
     "the figure the readable ranking orders by"},
    {"--top", "N", "every dimension", "1 or more", "how many dimensions each notch's ranking lists"},
    {"--threads", "N", "the machine's cores", "1 to 64", "threads of the job pool"},
    {"--csv", "", "", "", "position,direction,field,figure,derivative,perTolerance for every figure"},
};

constexpr OptionEntry kToleranceOptions[] = {
    {"--positions", "O1,...", "-Norm,-1/2 Norm,+1/2 Norm,+Norm", "finite offsets",
     "reverse arm positions as offsets from mid gear"},
    {"--tol", "FIELD=T", "", "T finite and at least 0", "the tolerance of one dimension (length units, or degrees)", true},
    {"--tol-all-lengths", "T", "0.002", "finite and at least 0", "the tolerance of every length"},
    {"--tol-all-angles", "A", "0.1", "finite and at least 0", "the tolerance of every angle, degrees"},
    {"--no-valve-ports", "", "", "", "leave the valve and port dimensions at their drawn values"},
    {"--wear", "W", "0", "finite and at least 0", "pin clearance: each rod and link length +- W"},
    {"--samples", "N", "1000", "1 to 1000000", "the number of samples"},
    {"--seed", "S", "1", "a whole number", "the seed of the generator; the same seed gives the same figures"},
    {"--threshold", "PTS", "1", "finite and at least 0", "the |cutOffDiff| that counts as not square"},
    {"--threads", "N", "the machine's cores", "1 to 64", "threads of the job pool"},
    {"--csv", "", "", "", "position,direction,figure,nominal,min,p05,median,p95,max,overThreshold,failed"},
};

// The option words of a run as the analysis commands read them.
std::vector<std::string> OptionWords(const CommandContext& ctx) {
    std::vector<std::string> words;
    for (const OptionEntry& o : ctx.entry.options) {
        if (o.valueName.empty()) {
            if (ctx.args.Has(o.name)) words.emplace_back(o.name);
            continue;
        }
        for (const std::string& v : ctx.args.Values(o.name)) {
            words.emplace_back(o.name);
            words.push_back(v);
        }
    }
    return words;
}

int RunSensitivityCommand(CommandContext& ctx) {
    const std::vector<std::string> words = OptionWords(ctx);
    SensitivityOptions opt;
    std::string error;
    if (!ParseSensitivityOptions(words, opt, error)) return ctx.Usage(error);
    GearState* design = ctx.Design();
    if (!design) return ctx.DesignExitCode();
    return RunSensitivity(*design, words, ctx.out, ctx.err);
}

int RunToleranceCommand(CommandContext& ctx) {
    const std::vector<std::string> words = OptionWords(ctx);
    ToleranceOptions opt;
    std::string error;
    if (!ParseToleranceOptions(words, opt, error)) return ctx.Usage(error);
    GearState* design = ctx.Design();
    if (!design) return ctx.DesignExitCode();
    return RunTolerance(*design, words, ctx.out, ctx.err);
}

constexpr OptionEntry kWorkOptions[] = {
    {"--positions", "O1,...", "the nine notches", "up to 9 finite offsets", "reverse arm positions as offsets from mid gear"},
    {"--direction", "D", "auto", "auto, forward or reverse", "the running direction; auto runs forward up to mid gear"},
    {"--pressure", "P1", "200", "finite, above the back pressure", "admission pressure, absolute"},
    {"--back-pressure", "PB", "18", "finite, at least 0", "exhaust back pressure, absolute"},
    {"--clearance", "C", "0.08", "finite, at least 0", "clearance volume as a fraction of the swept volume"},
    {"--exponent", "N", "1", "finite, above 0", "expansion and compression exponent (1 hyperbolic, 1.3 common)"},
    {"--cylinders", "K", "2", "1 to 64", "cylinders of the engine, for the tractive effort"},
    {"--csv", "", "", "",
     "position,direction,end,admission,cutOff,release,compression,mep,mepRatio,steamPerStroke,steamPerWork,"
     "tractiveEffort, one row per position and end"},
};

int RunWorkCommand(CommandContext& ctx) {
    const std::vector<std::string> words = OptionWords(ctx);
    WorkOptions opt;
    std::string error;
    if (!ParseWorkOptions(words, opt, error)) return ctx.Usage(error);
    GearState* design = ctx.Design();
    if (!design) return ctx.DesignExitCode();
    return RunWork(*design, words, ctx.out, ctx.err);
}

constexpr CommandEntry kCommands[] = {
    {"help", "[COMMAND [SUBCOMMAND]]", 0, 2, "the program's help, or a command's",
     "Prints the program's help, or the help of the command named (the same as COMMAND --help).", {},
     "vexlin-cli help\nvexlin-cli help render frame\n", &RunHelp, false, false},
    {"dims", "", 0, 0, "CSV of every dimension: id,field,name,value",
     "Writes every dimension of the design as CSV: id,field,name,value.", {}, "vexlin-cli dims\n",
     &RunDims},
    {"midgear", "", 0, 0, "the mid-gear reverse arm position",
     "Writes the mid-gear position of the reverse arm; exit status 1 when the search did not settle.", {},
     "vexlin-cli midgear\n", &RunMidGear},
    {"sweep", "", 0, 0, "solve the gear over a range of driver angles, one CSV row per angle",
     "Solves the gear at driver angles A, A+S, ... up to B with the reverse arm at mid gear + OFFSET; one CSV "
     "row per angle with the pivots, the link angle, valve offset, piston position, the four port openings "
     "and the geometry error flag.",
     kSweepOptions, "vexlin-cli sweep --revarm -1 --step 0.5 > fwd.csv\nvexlin-cli sweep --from 360 --to 0 --step -10\n",
     &RunSweep},
    {"check", "", 0, 0, "the angles of a turn where the linkage does not close, and why",
     "Names, as CSV angle,cause,message, the lengths the gear needs above zero that are not (an empty angle, "
     "cause \"dimension\"); then solves one turn at driver angles 0, S, 2S, ... with the reverse arm at mid "
     "gear + OFFSET and lists the angles where the linkage does not close, or leaves a figure that is not a "
     "finite number, and why. The header is always written, so a design that closes gives the header alone. "
     "Exit status 1 when anything is listed.",
     kCheckOptions, "vexlin-cli check\nvexlin-cli check --revarm 1 --step 0.5\nvexlin-cli --set stroke=-5 check --summary\n",
     &RunCheckCommand},
    {"pivots", "", 0, 0, "the pivot data table: world coordinates of chosen pivots over a turn",
     "The pivot data table of the main window: world Vert (Y) and Horz (X) of up to six pivots at driver "
     "angles 0, S, 2S, ... up to 360, the reverse arm at mid gear + OFFSET.",
     kPivotsOptions,
     "vexlin-cli pivots --list\nvexlin-cli pivots --pivots 2,3,8\nvexlin-cli pivots --pivots 4 --step 1 --csv\n",
     &RunPivotsCommand},
    {"save", "FILE", 1, 1, "write the design to a dimension data file",
     "Writes the design to a dimension data file (.vxd).", {},
     "vexlin-cli --set stroke=3.5 save big.vxd\nvexlin-cli save -- -dash.vxd\n", &RunSave},
    {"balance", "", 0, 0, "search dimensions for the design whose front and rear events agree best",
     "Searches the dimensions F1, F2, ... (each within its bounds) for the design whose front and rear valve "
     "events agree best at the positions; prints the changes and the events before and after. The balanced "
     "design is written only with --save.",
     kBalanceOptions,
     "vexlin-cli balance --vary valveFrontHalf,valveRearHalf\n"
     "vexlin-cli balance --vary eccRodFwd --bounds eccRodFwd=8:9 --save balanced.vxd\n",
     &RunBalanceCommand},
    {"render", "", 0, 0, "draw the main picture (frame) or one revolution (animation)",
     "Draws the main picture of the design as the window shows it.", {},
     "vexlin-cli render frame --out gear.png --angle 30\nvexlin-cli render animation --out gear.gif\n",
     nullptr, true},
    {"render frame", "", 0, 0, "the main picture at one driver angle, as PNG, SVG or PDF",
     "Draws the main picture of the design (1280 x 1024) as the window shows it, screen data included: as "
     "PNG, SVG or PDF by the suffix of FILE. Without --running the motion is stopped.",
     kFrameOptions,
     "vexlin-cli render frame --out gear.png --angle 30\nvexlin-cli render frame --out gear.svg --revarm -1 --steam\n",
     &RunRenderFrame, true},
    {"render animation", "", 0, 0, "one revolution as an animated GIF or numbered PNG frames",
     "Runs the gear for one revolution from the design's driver angle as the window runs it, after a first "
     "revolution that brings the cut-off readouts and the steam display up to those of a running gear, and "
     "writes every frame: an animated GIF that loops, or, when FILE is a folder (it ends in \"/\" or exists "
     "as one), numbered PNG frames frame-0000.png, frame-0001.png, ... in it. Each frame is the picture "
     "\"render frame --angle A --running STEP\" draws for its angle A. A folder that holds frame files this "
     "animation would not write over (those of a longer earlier one) is refused, unless --force is given: "
     "then they are removed once the new frames are written. Other files are never touched.",
     kAnimationOptions,
     "vexlin-cli render animation --out gear.gif\nvexlin-cli render animation --out frames/ --step 1\n",
     &RunRenderAnimationCommand, true},
    {"diagram", "", 0, 0, "a valve diagram (sine, oval, steam, ports) as a picture or CSV",
     kDiagramAbout, kDiagramOptions, "vexlin-cli diagram sine --out sine.png\nvexlin-cli diagram steam --data\n", nullptr, true},
    {"diagram sine", "", 0, 0, "the valve travel over the crank angle", kDiagramAbout, kDiagramOptions,
     "vexlin-cli diagram sine --out sine.png\nvexlin-cli diagram sine --data --samples\n", &RunDiagramCommand,
     true},
    {"diagram oval", "", 0, 0, "the valve travel against the piston position", kDiagramAbout, kDiagramOptions,
     "vexlin-cli diagram oval --out oval.svg\nvexlin-cli diagram oval --positions -1,-0.5 --data\n",
     &RunDiagramCommand, true},
    {"diagram steam", "", 0, 0, "the steam diagram with its figures", kDiagramAbout, kDiagramOptions,
     "vexlin-cli diagram steam --out steam.png\nvexlin-cli diagram steam --data\n", &RunDiagramCommand, true},
    {"diagram work", "", 0, 0, "the ideal indicator cards at the positions, default work settings", kDiagramAbout,
     kDiagramOptions, "vexlin-cli diagram work --out cards.svg\nvexlin-cli diagram work --positions -1 --data\n",
     &RunDiagramCommand, true},
    {"diagram ports", "", 0, 0, "the port events over the reverse arm travel", kDiagramAbout, kDiagramOptions,
     "vexlin-cli diagram ports --out ports.png --mode forward\nvexlin-cli diagram ports --data\n",
     &RunDiagramCommand, true},
    {"events", "", 0, 0, "the exact valve events of both cylinder ends",
     "The exact valve events of both cylinder ends at reverse arm positions given as offsets from mid gear: "
     "crank angles and percent of stroke of admission, cut-off, release and compression, lead, largest "
     "openings, valve travel, die slip. Exit status 1 when the linkage does not close somewhere in a turn "
     "asked for.",
     kEventsOptions, "vexlin-cli events\nvexlin-cli events --positions -1,-0.5 --csv\n", &RunEventsCommand},
    {"compare", "A.vxd B.vxd", 2, 2, "the events of two designs side by side, with B - A",
     "The valve events of two designs side by side at the same offsets from each design's own mid gear, with "
     "B - A for every figure, after the dimensions that differ. --set and --set-file change both designs; "
     "--design is not used. Either design may be \"-\" (standard input). Exit status 1 when the linkage of "
     "either does not close somewhere in a turn asked for.",
     kCompareOptions,
     "vexlin-cli compare old.vxd new.vxd\nvexlin-cli compare old.vxd new.vxd --positions -1,-0.5 --csv\n",
     &RunCompareCommand, false, false},
    {"report", "", 0, 0, "the design report as a PDF",
     "The design report as a PDF: title block, the 54 dimensions, the geometry check, the gear in full "
     "forward, mid and full reverse gear, the four valve diagrams and the valve events of the nine notches.",
     kReportOptions, "vexlin-cli report --out design.pdf\nvexlin-cli report --out design.pdf --paper letter\n",
     &RunReportCommand, true},
    {"sensitivity", "", 0, 0, "how much each dimension moves the valve events, ranked",
     "The derivative of each valve event figure with respect to each dimension at the positions, by central "
     "differences (a step of 1e-3 of the value, 1e-4 for 0, 0.01 degree for angles; mid gear found again on "
     "each side; a failing step retried once at a tenth, else \"fails\"), ranked by how far a 0.001 (0.1 "
     "degree) tolerance moves the chosen figure. Exit status 1 when the design does not close somewhere.",
     kSensitivityOptions,
     "vexlin-cli sensitivity --positions -1 --top 10\nvexlin-cli sensitivity --fields eccFwdRod,valveCtrToJoint --csv\n",
     &RunSensitivityCommand},
    {"tolerance", "", 0, 0, "the spread of the valve events under tolerance and wear",
     "The spread of the valve events over N samples, each dimension drawn within +- its tolerance and each "
     "rod and link length +- W (pin wear, ignoring which way the load holds the pin). Per position and figure "
     "the nominal, min, 5 %, median, 95 %, max, the share of samples whose |cutOffDiff| is over the threshold "
     "and the share that gave no figure. Exit status 1 when the design does not close somewhere.",
     kToleranceOptions,
     "vexlin-cli tolerance --samples 2000 --csv\nvexlin-cli tolerance --tol eccFwdRod=0.01 --tol-all-lengths 0\n",
     &RunToleranceCommand},
    {"work", "", 0, 0, "ideal indicator cards: MEP front and rear, steam per stroke, tractive effort",
     "Ideal indicator cards of both cylinder ends at the positions, built from the exact valve events with the "
     "pressures, clearance and exponent given: the mean effective pressure of each end (in the unit of the "
     "pressures), front minus rear, steam per stroke (in p1 x swept volume), steam per work and the tractive "
     "effort of the engine (pressure unit x length unit squared, e.g. lbf for psi and inches). Exit status 1 "
     "when an end has no card (an event is missing) or the linkage does not close.",
     kWorkOptions, "vexlin-cli work\nvexlin-cli work --positions -1,-0.5 --exponent 1.3 --csv\n", &RunWorkCommand},
};

// ------------------------------------------------------------ global options

struct Invocation {
    DesignSource source;
    bool quiet = false;
    std::vector<std::string> words; // the command and what follows it
};

int GlobalUsageError(std::ostream& err, const std::string& message) {
    err << kProgram << ": " << message << "\nTry '" << kProgram << " --help'.\n";
    return kExitUsage;
}

// Reads the words before the command. Returns an exit code when the run ends
// here (help, version, usage error), else nullopt.
std::optional<int> ParseInvocation(const std::vector<std::string>& args, Invocation& inv, std::ostream& out,
                                   std::ostream& err) {
    std::size_t i = 0;
    for (; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--help" || a == "-h") {
            out << ProgramHelp();
            return kExitOk;
        }
        if (a == "--version" || a == "-V") {
            out << kProgram << " " << VEXLIN_VERSION << "\n";
            return kExitOk;
        }
        if (a == "--quiet" || a == "-q") {
            inv.quiet = true;
            continue;
        }
        std::optional<std::string> value;
        if (TakeOption(args, i, "--design", value)) {
            if (!value || value->empty()) return GlobalUsageError(err, "--design needs a file name");
            if (inv.source.path) return GlobalUsageError(err, "--design given more than once");
            inv.source.path = *value;
            continue;
        }
        if (TakeOption(args, i, "--set", value)) {
            if (!value) return GlobalUsageError(err, "--set needs FIELD=VALUE");
            DesignSource::Change change;
            std::string error;
            if (!ParseSetText(*value, change, error)) return GlobalUsageError(err, error);
            inv.source.changes.push_back(change);
            continue;
        }
        if (TakeOption(args, i, "--set-file", value)) {
            if (!value || value->empty()) return GlobalUsageError(err, "--set-file needs a file name");
            DesignSource::Change change;
            change.file = *value;
            inv.source.changes.push_back(change);
            continue;
        }
        if (a == "--") {
            ++i;
            break;
        }
        if (!a.empty() && a[0] == '-') return GlobalUsageError(err, "unknown option " + Quote(a));
        break;
    }
    if (i >= args.size()) return GlobalUsageError(err, "no command given");
    inv.words.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    return std::nullopt;
}

std::string SubcommandNames(const CommandEntry& group) {
    std::string names;
    for (const CommandEntry* s : Subcommands(group.name)) {
        if (!names.empty()) names += ", ";
        names += s->name.substr(group.name.size() + 1);
    }
    return names;
}

// Runs a command found in the table on its words.
int RunEntry(const CommandEntry& entry, const std::vector<std::string>& words, std::size_t used,
             const DesignSource* source, GearState* design, bool quiet, std::istream& in, std::ostream& out,
             std::ostream& err) {
    Args args;
    std::string error;
    const std::span<const std::string> rest(words.data() + used, words.size() - used);
    if (!ParseArgs(entry, rest, args, error)) {
        err << kProgram << ": " << entry.name << ": " << error << "\nTry '" << kProgram << " " << entry.name
            << " --help'.\n";
        return kExitUsage;
    }
    if (args.HelpAsked()) {
        out << CommandHelp(entry);
        return kExitOk;
    }
    if (!entry.run) {
        err << kProgram << ": " << entry.name << ": which one? (" << SubcommandNames(entry) << ")\nTry '" << kProgram
            << " " << entry.name << " --help'.\n";
        return kExitUsage;
    }
    if (!entry.usesDesign && source && source->path) {
        err << kProgram << ": " << entry.name << ": --design is not used: give the designs as arguments\nTry '"
            << kProgram << " " << entry.name << " --help'.\n";
        return kExitUsage;
    }
    std::optional<CommandContext> ctx;
    if (design)
        ctx.emplace(entry, args, *design, in, out, err);
    else
        ctx.emplace(entry, args, *source, in, out, err);
    ctx->SetQuiet(quiet);
    if (!entry.needsGui) return entry.run(*ctx);
    EnsureGuiApplication();
    const int code = entry.run(*ctx);
    ReleaseGuiApplication();
    return code;
}

// ------------------------------------------------------------ dims, midgear, sweep, save

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

int RunDims(CommandContext& ctx) {
    const GearState* g = ctx.Design();
    if (!g) return ctx.DesignExitCode();
    std::string buf = "id,field,name,value\n";
    for (const DimensionInfo& d : AllDimensions()) {
        buf += std::to_string(d.id);
        buf.push_back(',');
        AppendCsvField(buf, d.field);
        buf.push_back(',');
        AppendCsvField(buf, d.shortName);
        buf.push_back(',');
        AppendNumber(buf, DimensionValue(*g, d));
        buf.push_back('\n');
    }
    return ctx.WriteThen(buf, kExitOk);
}

int RunMidGear(CommandContext& ctx) {
    const GearState* g = ctx.Design();
    if (!g) return ctx.DesignExitCode();
    if (ctx.LastMidGearSearch() == MidGearResult::NotFound) return ctx.Fault("mid gear not found");
    std::string buf;
    AppendNumber(buf, g->revArm.centre);
    buf.push_back('\n');
    return ctx.WriteThen(buf, kExitOk);
}

int RunSweep(CommandContext& ctx) {
    SweepOptions opt;
    std::string error;
    if (!ReadSweepOptions(ctx.args, opt, error)) return ctx.Usage(error);
    GearState* g = ctx.Design();
    if (!g) return ctx.DesignExitCode();
    errno = 0;
    if (!WriteSweep(*g, opt, ctx.out)) return ctx.CannotRun(std::string("cannot write the output: ") +
                                                            (errno ? std::strerror(errno) : "unknown error"));
    return kExitOk;
}

int RunHelp(CommandContext& ctx) {
    const std::vector<std::string>& words = ctx.args.Operands();
    if (words.empty()) return ctx.WriteThen(ProgramHelp(), kExitOk);
    std::string name = words[0];
    for (std::size_t i = 1; i < words.size(); ++i) name += " " + words[i];
    const CommandEntry* entry = FindCommand(name);
    if (!entry) return ctx.Usage("no command " + Quote(name) + " (\"vexlin-cli --help\" lists them)");
    return ctx.WriteThen(CommandHelp(*entry), kExitOk);
}

int RunSave(CommandContext& ctx) {
    GearState* g = ctx.Design();
    if (!g) return ctx.DesignExitCode();
    const FileResult r = SaveDesign(*g, ctx.args.Operands()[0]);
    if (!r.ok) return ctx.CannotRun(Clause(r.error));
    return kExitOk;
}

} // namespace

std::span<const CommandEntry> AllCommands() { return kCommands; }

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

std::string SweepHeader() {
    std::string h;
    AppendSweepHeader(h);
    return h;
}

bool WriteSweep(GearState& g, const SweepOptions& opt, std::ostream& out) {
    g.motion.reverseArmPosition = ReverseArmAtOffset(g, opt.revArmOffset);

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

const CommandEntry* FindCommandOf(const std::vector<std::string>& words, std::size_t& used, std::string& error) {
    used = 0;
    if (words.empty()) {
        error = "no command given";
        return nullptr;
    }
    const CommandEntry* entry = FindCommand(words[0]);
    if (!entry || words[0].find(' ') != std::string::npos) {
        error = "unknown command " + Quote(words[0]);
        return nullptr;
    }
    used = 1;
    if (entry->run) return entry;
    // A group: its subcommand is the first word that is not --help or --quiet.
    for (std::size_t i = 1; i < words.size(); ++i) {
        const std::string& w = words[i];
        if (w == "--help" || w == "-h" || w == "--quiet" || w == "-q") continue;
        if (const CommandEntry* sub = FindCommand(std::string(entry->name) + " " + w); sub && !w.empty() && w[0] != '-') {
            used = i + 1;
            // The words skipped before the subcommand stay with it.
            return sub;
        }
        const std::string names = SubcommandNames(*entry);
        error = std::string(entry->name) + ": " +
                (w.empty() || w[0] == '-' ? "which one? (" + names + ")"
                                          : "unknown subcommand " + Quote(w) + " (" + names + ")");
        return nullptr;
    }
    return entry; // the group alone: its help
}

namespace {

// The words with the command's name first (a group and its subcommand),
// then the rest: words between a group and its subcommand (--help,
// --quiet) are read with the subcommand's own. Sets nameWords.
std::vector<std::string> NameFirst(const std::vector<std::string>& words, std::size_t used, std::size_t& nameWords) {
    nameWords = used > 1 ? 2 : 1;
    std::vector<std::string> out(words.begin(), words.begin() + 1);
    if (used > 1) {
        out.push_back(words[used - 1]);
        for (std::size_t i = 1; i + 1 < used; ++i) out.push_back(words[i]);
    }
    out.insert(out.end(), words.begin() + static_cast<std::ptrdiff_t>(used), words.end());
    return out;
}

int CommandNotFound(const std::vector<std::string>& words, const std::string& error, std::ostream& err) {
    const CommandEntry* group = words.empty() ? nullptr : FindCommand(words[0]);
    if (group && !group->run) {
        err << kProgram << ": " << error << "\nTry '" << kProgram << " " << group->name << " --help'.\n";
        return kExitUsage;
    }
    return GlobalUsageError(err, error);
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    Invocation inv;
    if (auto code = ParseInvocation(args, inv, out, err)) return *code;
    std::size_t used = 0;
    std::string error;
    const CommandEntry* entry = FindCommandOf(inv.words, used, error);
    if (!entry) return CommandNotFound(inv.words, error, err);
    std::size_t nameWords = 0;
    const std::vector<std::string> words = NameFirst(inv.words, used, nameWords);
    return RunEntry(*entry, words, nameWords, &inv.source, nullptr, inv.quiet, in, out, err);
}

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    return RunCli(args, std::cin, out, err);
}

int RunCommandOn(GearState& g, const std::vector<std::string>& words, std::ostream& out, std::ostream& err) {
    std::size_t used = 0;
    std::string error;
    const CommandEntry* entry = FindCommandOf(words, used, error);
    if (!entry) return CommandNotFound(words, error, err);
    std::size_t nameWords = 0;
    const std::vector<std::string> named = NameFirst(words, used, nameWords);
    std::istringstream none;
    return RunEntry(*entry, named, nameWords, nullptr, &g, false, none, out, err);
}

} // namespace vx::cli
