#include "cli/work_command.h"

#include <cmath>

#include "cli/commands.h"
#include "cli/text_io.h"
#include "model/valve_events_text.h"
#include "model/work_text.h"

namespace vx::cli {
namespace {

// The exit status when an end has no card or the linkage does not close
// somewhere (the design's fault), or the output could not be written.
constexpr int kWorkIncomplete = 1;

// The reverse arm positions asked for: mid gear + each offset, held within
// mid gear +- Max as the diagrams hold them (an offset of 0 is mid gear
// itself); without offsets, the nine notches.
std::vector<float> WorkPositions(const GearState& g, const EventsOptions& opt) {
    if (!opt.haveOffsets) {
        const auto notches = NotchPositions(g);
        return {notches.begin(), notches.end()};
    }
    const double centre = g.revArm.centre;
    const double max = g.frame.revArmToCentMax;
    std::vector<float> positions;
    positions.reserve(opt.offsets.size());
    for (const double offset : opt.offsets) {
        float v = ToModelFloat(centre + offset);
        if (offset != 0) {
            const float lo = ToModelFloat(centre - max), hi = ToModelFloat(centre + max);
            if (v < lo) v = lo;
            if (v > hi) v = hi;
        }
        positions.push_back(v);
    }
    return positions;
}

bool ParseOffsets(const std::string& text, std::vector<double>& list, std::string& error) {
    if (ReadOffsetList(text, list, error)) return true;
    error = "work: " + error;
    return false;
}

} // namespace

bool ParseWorkOptions(const std::vector<std::string>& args, WorkOptions& opt, std::string& error) {
    error.clear();
    struct Setting {
        std::string_view name;
        float* target;
    };
    const Setting settings[] = {
        {"--pressure", &opt.settings.admissionPressure},
        {"--back-pressure", &opt.settings.backPressure},
        {"--clearance", &opt.settings.clearance},
        {"--exponent", &opt.settings.exponent},
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> value;
        if (args[i] == "--csv") {
            opt.events.csv = true;
            continue;
        }
        if (TakeOption(args, i, "--positions", value)) {
            if (!value || value->empty()) {
                error = "work: --positions needs a list of offsets";
                return false;
            }
            if (!ParseOffsets(*value, opt.events.offsets, error)) return false;
            opt.events.haveOffsets = true;
            continue;
        }
        if (TakeOption(args, i, "--direction", value)) {
            if (value && *value == "auto") opt.events.direction = EventDirection::Auto;
            else if (value && *value == "forward") opt.events.direction = EventDirection::Forward;
            else if (value && *value == "reverse") opt.events.direction = EventDirection::Reverse;
            else {
                error = "work: --direction needs auto, forward or reverse";
                return false;
            }
            continue;
        }
        if (TakeOption(args, i, "--cylinders", value)) {
            const auto v = value ? ParseNumber(*value) : std::nullopt;
            if (!v || !(*v >= 1 && *v <= kMaxWorkCylinders) || *v != std::floor(*v)) {
                error = "work: --cylinders needs a whole number from 1 to " + std::to_string(kMaxWorkCylinders) +
                        (value ? ", got " + Quote(*value) : std::string());
                return false;
            }
            opt.settings.cylinders = static_cast<int>(*v);
            continue;
        }
        bool taken = false;
        for (const Setting& s : settings) {
            if (!TakeOption(args, i, s.name, value)) continue;
            const auto v = value ? ParseNumber(*value) : std::nullopt;
            if (!v) {
                error = "work: " + std::string(s.name) + " needs a number" + (value ? ", got " + Quote(*value) : "");
                return false;
            }
            *s.target = ToModelFloat(*v);
            taken = true;
            break;
        }
        if (taken) continue;
        error = "work: unknown option " + Quote(args[i]);
        return false;
    }
    if (const std::string bad = CheckWorkSettings(opt.settings); !bad.empty()) {
        error = "work: " + bad;
        return false;
    }
    return true;
}

int RunWork(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    WorkOptions opt;
    std::string error;
    if (!ParseWorkOptions(args, opt, error)) {
        err << "vexlin-cli: " << error << "\nTry 'vexlin-cli --help'.\n";
        return kExitUsage;
    }
    const std::vector<float> positions = WorkPositions(g, opt.events);
    std::vector<PositionEvents> events(positions.size());
    ComputeValveEventsTable(g, positions, opt.events.direction, events);
    std::vector<PositionWork> work(events.size());
    const WorkDimensions dims = WorkDimensionsOf(g);
    for (std::size_t i = 0; i < events.size(); ++i) ComputeWork(events[i], opt.settings, dims, work[i]);

    std::string text;
    if (opt.events.csv) {
        text = WorkCsv(work, events);
    } else {
        text = "Ideal indicator cards: " + WorkSettingsText(opt.settings) +
               "; pressures absolute, MEP in the unit of p1, steam in p1 x swept volume;\n"
               "tractive effort of the whole engine in " +
               std::string(kTractiveEffortUnit) + "\n\n";
        for (std::size_t i = 0; i < work.size(); ++i) {
            if (i > 0) text += '\n';
            AppendWorkTable(text, work[i], g.revArm.centre);
        }
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
        err << "vexlin-cli: work: cannot write the output\n";
        return kWorkIncomplete;
    }
    bool complete = true;
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (!events[i].Closes()) {
            complete = false;
            err << "vexlin-cli: work: " << ValveEventsErrorText(events[i]) << '\n';
        }
        for (const bool rear : {false, true}) {
            const IndicatorCard& c = work[i].End(rear);
            if (c.hasCard) continue;
            complete = false;
            std::string where;
            AppendNumber(where, work[i].position);
            err << "vexlin-cli: work: reverse arm " << where << ", " << (rear ? "rear" : "front")
                << " end: no card (" << CardCasesText(c.cases) << ")\n";
        }
    }
    return complete ? kExitOk : kWorkIncomplete;
}

} // namespace vx::cli
