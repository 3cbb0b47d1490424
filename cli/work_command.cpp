#include "cli/work_command.h"

#include "cli/offset_column.h"

#include <sstream>

#include <cmath>

#include "cli/fit_command.h"
#include "cli/option_values.h"
#include "cli/sensitivity_command.h"
#include "cli/text_io.h"
#include "model/analysis/measured_work.h"
#include "model/analysis/valve_events_text.h"
#include "model/analysis/work_text.h"

namespace vx::cli {
namespace {

// The exit status when an end has no card or the linkage does not close
// somewhere (the design's fault).
constexpr int kWorkIncomplete = 1;

// The most positions of one run, as the help says: the cards of more would
// not be read apart.
constexpr std::size_t kMostWorkPositions = 9;

// The reverse arm positions asked for: mid gear + each offset, held within
// mid gear +- Max as the diagrams hold them (an offset of 0 is mid gear
// itself; the events command's rule); without offsets, the nine notches.
std::vector<float> WorkPositions(const GearState& g, const EventsOptions& opt) {
    std::vector<float> positions;
    for (const EventPosition& p : EventPositions(g, opt)) positions.push_back(p.position);
    return positions;
}

bool ReadOptions(const Args& args, WorkOptions& opt, std::string& error) {
    for (const std::string& value : args.Values("--positions")) {
        if (!ReadOffsetList(value, opt.events.offsets, error)) return false;
        if (opt.events.offsets.size() > kMostWorkPositions) {
            error = "--positions: at most " + std::to_string(kMostWorkPositions) + " positions";
            return false;
        }
        opt.events.haveOffsets = true;
    }
    for (const std::string& value : args.Values("--direction"))
        if (!ReadDirection(value, opt.events.direction, error)) return false;
    const struct {
        std::string_view name;
        float* target;
    } settings[] = {
        {"--pressure", &opt.settings.admissionPressure},
        {"--back-pressure", &opt.settings.backPressure},
        {"--clearance", &opt.settings.clearance},
        {"--exponent", &opt.settings.exponent},
    };
    for (const auto& s : settings) {
        for (const std::string& value : args.Values(s.name)) {
            const auto v = ParseNumber(value);
            if (!v) {
                error = std::string(s.name) + " needs a number, got " + Quote(value);
                return false;
            }
            *s.target = ToModelFloat(*v);
        }
    }
    for (const std::string& value : args.Values("--cylinders")) {
        const auto v = ParseNumber(value);
        if (!v || !(*v >= 1 && *v <= kMaxWorkCylinders) || *v != std::floor(*v)) {
            error = "--cylinders needs a whole number from 1 to " + std::to_string(kMaxWorkCylinders) + ", got " +
                    Quote(value);
            return false;
        }
        opt.settings.cylinders = static_cast<int>(*v);
    }
    opt.events.csv = args.Has("--csv");
    if (!ReadAnalysisChoices(args, opt.events.choices, error)) return false;
    if (const std::string* value = args.Value("--measured")) {
        if (value->empty()) {
            error = "--measured needs a file name";
            return false;
        }
        if (opt.events.haveOffsets) {
            error = "--measured takes the positions of its measurements: leave out --positions";
            return false;
        }
        opt.measuredPath = *value;
    }
    error = CheckWorkSettings(opt.settings);
    return error.empty();
}

} // namespace

bool ReadWorkOptions(const Args& args, WorkOptions& opt, std::string& error) {
    return ReadOptions(args, opt, error);
}

namespace {

std::string CardsHeading(const WorkSettings& s, LengthUnit unit) {
    return "Ideal indicator cards: " + WorkSettingsText(s) +
           "; pressures absolute, MEP in the unit of p1, steam in p1 x swept volume;\n"
           "tractive effort of the whole engine in " +
           TractiveEffortUnitText(unit) + "\n\n";
}

// The cards of the measured engine: its measured events in place of the
// design's; a position with an event not measured is named, not guessed.
int RunMeasuredWork(CommandContext& ctx, const WorkOptions& opt) {
    std::vector<Measurement> rows;
    if (const int code = ReadMeasurementFile(ctx, opt.measuredPath, rows); code != kExitOk) return code;
    GearState* design = ctx.ValidDesign();
    if (!design) return ctx.DesignExitCode();
    const GearState& g = *design;
    const std::vector<MeasuredPosition> measured = MeasuredWork(g, rows, opt.settings);
    if (measured.empty())
        return ctx.Usage("measurements " + Quote(opt.measuredPath) +
                         ": no admission, cut-off, release or compression in percent or length to build a card from");
    std::vector<PositionWork> work;
    std::vector<PositionEvents> events;
    for (const MeasuredPosition& p : measured) {
        work.push_back(p.work);
        events.push_back(p.events);
    }
    std::string text;
    if (opt.events.csv) {
        text = WorkCsv(work, events);
    } else {
        text = "Measured engine (" + opt.measuredPath + "). " + CardsHeading(opt.settings, opt.events.choices.style.unit);
        for (std::size_t i = 0; i < measured.size(); ++i) {
            if (i > 0) text += '\n';
            AppendWorkTable(text, work[i], g.revArm.centre);
            if (!measured[i].missing.empty()) text += "not measured: " + measured[i].missing + "\n";
        }
    }
    if (!WriteAnalysisText(ctx.out, ctx.err, "work", text)) return kExitCannotRun;
    bool complete = true;
    for (const MeasuredPosition& p : measured) {
        if (p.missing.empty() && p.work.HasCards()) continue;
        complete = false;
        std::string where;
        AppendNumber(where, static_cast<float>(p.offset));
        ctx.Note("offset " + where + ": " +
                 (p.missing.empty() ? std::string("no card") : "no card, not measured: " + p.missing));
    }
    return complete ? kExitOk : kWorkIncomplete;
}

} // namespace

int RunWorkCommand(CommandContext& ctx, const WorkOptions& opt) {
    if (!opt.measuredPath.empty()) return RunMeasuredWork(ctx, opt);
    GearState* design = ctx.ValidDesign();
    if (!design) return ctx.DesignExitCode();
    const GearState& g = *design;
    std::ostream& err = ctx.err;
    // Each offset from the solve's own mid gear.
    std::vector<double> positions;
    for (const float p : WorkPositions(g, opt.events)) positions.push_back(PositionOnSolve(g, p, opt.events.choices.solve));
    std::vector<PositionEvents> events(positions.size());
    ComputeValveEventsTable(g, positions, opt.events.direction, events, opt.events.choices.solve);
    std::vector<PositionWork> work(events.size());
    const WorkDimensions dims = WorkDimensionsOf(g);
    for (std::size_t i = 0; i < events.size(); ++i) ComputeWork(events[i], opt.settings, dims, work[i]);

    std::string text;
    if (opt.events.csv) {
        // The rows' positions as the CSV writes them, each with its offset.
        std::vector<double> at;
        for (const PositionWork& w : work) at.push_back(static_cast<double>(w.position));
        std::vector<float> offsets;
        for (const EventPosition& p : EventPositions(g, opt.events)) offsets.push_back(p.offset);
        text = WithOffsetColumn(WorkCsv(work, events, opt.events.choices.style.digits), at, offsets);
    } else {
        text = CardsHeading(opt.settings, opt.events.choices.style.unit);
        for (std::size_t i = 0; i < work.size(); ++i) {
            if (i > 0) text += '\n';
            AppendWorkTable(text, work[i], MidGearCentre(g, opt.events.choices.solve), opt.events.choices.style);
        }
    }
    if (!WriteAnalysisText(ctx.out, err, "work", text)) return kExitCannotRun;
    // The notes below are of figures already written: --quiet drops them.
    std::ostringstream dropped;
    std::ostream& notes = ctx.Quiet() ? static_cast<std::ostream&>(dropped) : err;
    bool complete = true;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (!EventsUsable(events[i])) {
            complete = false;
            notes << "vexlin-cli: work: " << EventsFaultText(events[i]) << '\n';
        }
        for (const bool rear : {false, true}) {
            const IndicatorCard& c = work[i].End(rear);
            if (c.hasCard) continue;
            complete = false;
            std::string where;
            AppendNumber(where, work[i].position);
            notes << "vexlin-cli: work: reverse arm " << where << ", " << (rear ? "rear" : "front")
                << " end: no card (" << CardCasesText(c.cases) << ")\n";
        }
    }
    return complete ? kExitOk : kWorkIncomplete;
}

} // namespace vx::cli
