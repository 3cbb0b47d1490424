// The command table: every command's name, operands, help and options
// (command_options.h), and the function that reads its options and runs it.
#include "cli/animation_command.h"
#include "cli/balance_command.h"
#include "cli/check_command.h"
#include "cli/command_context.h"
#include "cli/command_options.h"
#include "cli/command_table.h"
#include "cli/compare_command.h"
#include "cli/diagram_command.h"
#include "cli/dims_command.h"
#include "cli/events_command.h"
#include "cli/fit_command.h"
#include "cli/help_command.h"
#include "cli/midgear_command.h"
#include "cli/pivots_command.h"
#include "cli/render_command.h"
#include "cli/report_command.h"
#include "cli/save_command.h"
#include "cli/sensitivity_command.h"
#include "cli/sweep_command.h"
#include "cli/tolerance_command.h"
#include "cli/work_command.h"

namespace vx::cli {
namespace {

constexpr std::string_view kDiagramAbout =
    "Draws one valve diagram of the design as its window draws it, from the design's start-up state, or "
    "writes the figures behind it as CSV (--data). One of --out and --data is required.";

// The diagram subcommands share their options and how they run.
constexpr auto kRunDiagram = &ReadThenRun<DiagramOptions, ReadDiagramOptions, RunDiagramCommand>;

constexpr CommandEntry kCommands[] = {
    {"help", "[COMMAND [SUBCOMMAND]]", 0, 2, "the program's help, or a command's",
     "Prints the program's help, or the help of the command named (the same as COMMAND --help).", {},
     "vexlin-cli help\nvexlin-cli help render frame\n", &RunHelpCommand, false, false},
    {"dims", "", 0, 0, "CSV of every dimension: id,field,name,value",
     "Writes every dimension of the design as CSV: id,field,name,value.", {}, "vexlin-cli dims\n",
     &RunDimsCommand},
    {"midgear", "", 0, 0, "the mid-gear reverse arm position",
     "Writes the mid-gear position of the reverse arm; exit status 1 when the search did not settle.",
     kMidGearOptions, "vexlin-cli midgear\nvexlin-cli midgear --digits full\n",
     &ReadThenRun<MidGearOptions, ReadMidGearOptions, RunMidGearCommand>},
    {"sweep", "", 0, 0, "solve the gear over a range of driver angles, one CSV row per angle",
     "Solves the gear at driver angles A, A+S, ... up to B with the reverse arm at mid gear + OFFSET; one CSV "
     "row per angle with the pivots, the link angle, valve offset, piston position, the four port openings "
     "and the geometry error flag. A row where the linkage does not close has its figures empty and the flag "
     "1, and the exit status is 1.",
     kSweepOptions, "vexlin-cli sweep --revarm -1 --step 0.5 > fwd.csv\nvexlin-cli sweep --from 360 --to 0 --step -10\n",
     &ReadThenRun<SweepOptions, ReadSweepOptions, RunSweepCommand>},
    {"check", "", 0, 0, "the angles of a turn where the linkage does not close, and why",
     "Names, as CSV angle,cause,message, the lengths the gear needs above zero that are not (an empty angle, "
     "cause \"dimension\"); then solves one turn at driver angles 0, S, 2S, ... with the reverse arm at mid "
     "gear + OFFSET and lists the angles where the linkage does not close, or leaves a figure that is not a "
     "finite number, and why. The header is always written, so a design that closes gives the header alone. "
     "Exit status 1 when anything is listed.",
     kCheckOptions, "vexlin-cli check\nvexlin-cli check --revarm 1 --step 0.5\nvexlin-cli --set stroke=-5 check --summary\n",
     &ReadThenRun<CheckOptions, ReadCheckOptions, RunCheckCommand>},
    {"pivots", "", 0, 0, "the pivot data table: world coordinates of chosen pivots over a turn",
     "The pivot data table of the main window: world Vert (Y) and Horz (X) of up to six pivots at driver "
     "angles 0, S, 2S, ... up to 360, the reverse arm at mid gear + OFFSET.",
     kPivotsOptions,
     "vexlin-cli pivots --list\nvexlin-cli pivots --pivots 2,3,8\nvexlin-cli pivots --pivots 4 --step 1 --csv\n",
     &ReadThenRun<PivotsOptions, ReadPivotsOptions, RunPivotsCommand>},
    {"save", "FILE", 1, 1, "write the design to a dimension data file",
     "Writes the design to a dimension data file (.vxd).", {},
     "vexlin-cli --set stroke=3.5 save big.vxd\nvexlin-cli save -- -dash.vxd\n", &RunSaveCommand},
    {"balance", "", 0, 0, "search dimensions for the design whose front and rear events agree best",
     "Searches the dimensions F1, F2, ... (each within its bounds) for the design whose front and rear valve "
     "events agree best at the positions; prints the changes and the events before and after. The balanced "
     "design is written only with --save.",
     kBalanceOptions,
     "vexlin-cli balance --vary valveFrontHalf,valveRearHalf\n"
     "vexlin-cli balance --vary eccRodFwd --bounds eccRodFwd=8:9 --save balanced.vxd\n",
     &ReadThenRun<BalanceOptions, ReadBalanceOptions, RunBalanceCommand>},
    {"render", "", 0, 0, "draw the main picture (frame) or one revolution (animation)",
     "Draws the main picture of the design as the window shows it.", {},
     "vexlin-cli render frame --out gear.png --angle 30\nvexlin-cli render animation --out gear.gif\n",
     nullptr, true},
    {"render frame", "", 0, 0, "the main picture at one driver angle, as PNG, SVG or PDF",
     "Draws the main picture of the design (1280 x 1024) as the window shows it, screen data included: as "
     "PNG, SVG or PDF by the suffix of FILE. Without --running the motion is stopped. Exit status 1 (the "
     "picture written) when the linkage does not close somewhere in a turn at the reverse arm position drawn.",
     kFrameOptions,
     "vexlin-cli render frame --out gear.png --angle 30\nvexlin-cli render frame --out gear.svg --revarm -1 --steam\n",
     &ReadThenRun<FrameOptions, ReadFrameOptions, RunRenderFrame>, true},
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
     &ReadThenRun<AnimationOptions, ReadAnimationOptions, RunRenderAnimationCommand>, true},
    {"diagram", "", 0, 0, "a valve diagram (sine, oval, steam, work, ports) as a picture or CSV",
     kDiagramAbout, kDiagramOptions, "vexlin-cli diagram sine --out sine.png\nvexlin-cli diagram steam --data\n", nullptr, true},
    {"diagram sine", "", 0, 0, "the valve travel over the crank angle",
     "The sine diagram: the valve's displacement over the crank angle for each position, with the port edges, "
     "lead, lap and exhaust clearance, as a picture (--out) or as CSV (--data; --samples for the drawn points). "
     "Takes --positions and --scale; --mode is refused.",
     kDiagramOptions,
     "vexlin-cli diagram sine --out sine.png\nvexlin-cli diagram sine --data --samples\n", kRunDiagram,
     true},
    {"diagram oval", "", 0, 0, "the valve travel against the piston position",
     "The oval diagram: the valve's displacement against the piston's position for each position, as a picture "
     "(--out) or as CSV (--data; --samples for the drawn points). Takes --positions and --scale; --mode is "
     "refused.",
     kDiagramOptions,
     "vexlin-cli diagram oval --out oval.svg\nvexlin-cli diagram oval --positions -1,-0.5 --data\n",
     kRunDiagram, true},
    {"diagram steam", "", 0, 0, "the steam diagram with its figures",
     "The steam diagram: the simulated indicator card of each position with cut-off, release, compression and "
     "admission in percent of travel, as a picture (--out) or as CSV (--data). Takes --positions; --mode, "
     "--scale and --samples are refused.",
     kDiagramOptions,
     "vexlin-cli diagram steam --out steam.png\nvexlin-cli diagram steam --data\n", kRunDiagram, true},
    {"diagram work", "", 0, 0, "the ideal indicator cards at the positions, default work settings",
     "The ideal indicator cards of both ends at each position with the economy curve and the table, at the "
     "default work settings, as a picture (--out) or as CSV (--data). Takes --positions; --mode, --scale and "
     "--samples are refused.",
     kDiagramOptions, "vexlin-cli diagram work --out cards.svg\nvexlin-cli diagram work --positions -1 --data\n",
     kRunDiagram, true},
    {"diagram ports", "", 0, 0, "the port events over the reverse arm travel",
     "The port events diagram: where in the stroke each port opens and closes over 19 rows of reverse arm "
     "travel, as a picture (--out) or as CSV (--data). Takes --mode; --positions, --scale and --samples are "
     "refused.",
     kDiagramOptions,
     "vexlin-cli diagram ports --out ports.png --mode forward\nvexlin-cli diagram ports --data\n",
     kRunDiagram, true},
    {"events", "", 0, 0, "the exact valve events of both cylinder ends",
     "The exact valve events of both cylinder ends at reverse arm positions given as offsets from mid gear: "
     "crank angles and percent of stroke of admission, cut-off, release and compression, lead, largest "
     "openings, valve travel, die slip. Exit status 1 when the linkage does not close somewhere in a turn "
     "asked for, or an event of either end never happens (a port that never opens, a lost release).",
     kEventsOptions, "vexlin-cli events\nvexlin-cli events --positions -1,-0.5 --csv\n",
     &ReadThenRun<EventsOptions, ReadEventsOptions, RunEventsCommand>},
    {"compare", "A.vxd B.vxd", 2, 2, "the events of two designs side by side, with B - A",
     "The valve events of two designs side by side at the same offsets from each design's own mid gear, as "
     "diff compares files: first a summary of what moved beyond the tolerance, largest first (one line when "
     "nothing did), then the dimensions that differ, then per offset every figure (unit in its row name) of "
     "both ends for A and B with B - A, and front - rear of each design. Differences are taken from the printed "
     "figures, crank angles wrapped to +-180 degrees; a row shows on which side of dead centre each port "
     "admits. --set and --set-file change both designs; --design is not used. Either design may be \"-\" "
     "(standard input). Exit status, as diff: 0 nothing moved beyond the tolerance, 1 something did, 2 usage "
     "error, 3 trouble: a design could not be read, is not usable, does not close somewhere in a turn asked "
     "for, or loses an event (named on standard error, nothing written).",
     kCompareOptions,
     "vexlin-cli compare old.vxd new.vxd\nvexlin-cli compare old.vxd new.vxd --positions -1,-0.5 --csv\n",
     &ReadThenRun<CompareOptions, ReadCompareOptions, RunCompareCommand>, false, false},
    {"report", "", 0, 0, "the design report as a PDF",
     "The design report as a PDF: title block, the 54 dimensions, the geometry check, the gear in full "
     "forward, mid and full reverse gear, the four valve diagrams, the valve events of the nine notches, the "
     "sensitivity ranking with the spread under tolerance, and the indicator cards of the nine notches: seven "
     "pages. A design with a fault is marked so on the first page, the figures of a position where it shows "
     "are left out, and the exit status is 1. FILE must end in .pdf (or have no suffix).",
     kReportOptions, "vexlin-cli report --out design.pdf\nvexlin-cli report --out design.pdf --paper letter\n",
     &ReadThenRun<ReportOptions, ReadReportOptions, RunReportCommand>, true},
    {"sensitivity", "", 0, 0, "how much each dimension moves the valve events, ranked",
     "The derivative of each valve event figure with respect to each dimension at the positions, by central "
     "differences (a step of 1e-3 of the value, 1e-4 for 0, 0.01 degree for angles; mid gear found again on "
     "each side; a failing step retried once at a tenth, else \"fails\"), ranked by how far a 0.001 (0.1 "
     "degree) tolerance moves the chosen figure. Exit status 1 when the design does not close somewhere.",
     kSensitivityOptions,
     "vexlin-cli sensitivity --positions -1 --top 10\nvexlin-cli sensitivity --fields eccFwdRod,valveCtrToJoint --csv\n",
     &ReadThenRun<SensitivityOptions, ReadSensitivityOptions, RunSensitivityCommand>},
    {"tolerance", "", 0, 0, "the spread of the valve events under tolerance and wear",
     "The spread of the valve events over N samples, each dimension drawn within +- its tolerance and each "
     "pin spacing of the rods, links and arms +- W (pin wear, ignoring which way the load holds the pin; "
     "--wear lists them). Per position and figure "
     "the nominal, min, 5 %, median, 95 %, max, the share of the closing samples (those that gave a cut-off difference) whose |cutOffDiff| is over the threshold "
     "and the share that gave no figure. Exit status 1 when the design does not close somewhere.",
     kToleranceOptions,
     "vexlin-cli tolerance --samples 2000 --csv\nvexlin-cli tolerance --tol eccFwdRod=0.01 --tol-all-lengths 0\n",
     &ReadThenRun<ToleranceOptions, ReadToleranceOptions, RunToleranceCommand>},
    {"work", "", 0, 0, "ideal indicator cards: MEP front and rear, steam per stroke, tractive effort",
     "Ideal indicator cards of both cylinder ends at the positions, built from the exact valve events with the "
     "pressures, clearance and exponent given: the mean effective pressure of each end (in the unit of the "
     "pressures), front minus rear, steam per stroke (in p1 x swept volume), steam per work and the tractive "
     "effort of the engine (pressure unit x length unit squared, e.g. lbf for psi and inches). Exit status 1 "
     "when an end has no card (an event is missing) or the linkage does not close.",
     kWorkOptions, "vexlin-cli work\nvexlin-cli work --positions -1,-0.5 --exponent 1.3 --csv\n",
     &ReadThenRun<WorkOptions, ReadWorkOptions, RunWorkCommand>},
    {"fit", "", 0, 0, "the as-built dimensions from measured valve events, and the corrections",
     "Fits the dimensions F1, F2, ... (each within its bounds) to the valve events measured on a real engine "
     "by weighted least squares on the exact events, each trial design at the measured offsets from its own "
     "mid gear: the fitted values, their change from the drawing and standard errors, the pairs the "
     "measurements cannot tell apart with a measurement that would, the residuals largest first and the RMS "
     "against the weights; then balances the fitted engine over the --adjust dimensions and prints the "
     "corrections in shop terms with the events before and after. A bad line of the measurement file is a "
     "usage error naming the line. Exit status 1 when the design does not close at a measured position or "
     "the fitted design does not produce a measured event.",
     kFitOptions,
     "vexlin-cli fit --measured shop.csv\n"
     "vexlin-cli fit --measured shop.csv --vary valveCtrToJoint,eccFwdRod --adjust valveCtrToJoint --out as-built.vxd\n"
     "vexlin-cli fit --measured shop.csv --csv --residuals residuals.csv\n",
     &ReadThenRun<FitOptions, ReadFitOptions, RunFitCommand>},
};

} // namespace

std::span<const CommandEntry> AllCommands() { return kCommands; }

} // namespace vx::cli
