#include "cli/events_command.h"

#include <cmath>

#include "cli/commands.h"
#include "cli/text_io.h"
#include "model/valve_events_text.h"

namespace vx::cli {

bool ReadEventsOptions(const Args& args, EventsOptions& opt, std::string& error) {
    error.clear();
    opt.csv = args.Has("--csv");
    if (const std::string* value = args.Value("--positions")) {
        if (value->empty()) {
            error = "--positions needs a list of offsets";
            return false;
        }
        opt.offsets.clear();
        opt.haveOffsets = true;
        std::size_t start = 0;
        while (true) {
            const std::size_t comma = value->find(',', start);
            const std::string word =
                value->substr(start, comma == std::string::npos ? std::string::npos : comma - start);
            const auto v = ParseNumber(word);
            if (!v || !std::isfinite(*v)) {
                error = "--positions: not a finite number: " + Quote(word);
                return false;
            }
            if (opt.offsets.size() == kMaxEventPositions) {
                error = "--positions: at most " + std::to_string(kMaxEventPositions) + " positions";
                return false;
            }
            opt.offsets.push_back(*v);
            if (comma == std::string::npos) break;
            start = comma + 1;
        }
    }
    if (const std::string* value = args.Value("--direction")) {
        if (*value == "auto") opt.direction = EventDirection::Auto;
        else if (*value == "forward") opt.direction = EventDirection::Forward;
        else if (*value == "reverse") opt.direction = EventDirection::Reverse;
        else {
            error = "--direction needs auto, forward or reverse";
            return false;
        }
    }
    return true;
}

std::vector<float> EventPositions(const GearState& g, const EventsOptions& opt) {
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

int RunEventsCommand(CommandContext& ctx) {
    EventsOptions opt;
    std::string error;
    if (!ReadEventsOptions(ctx.args, opt, error)) return ctx.Usage(error);
    GearState* design = ctx.Design();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    const std::vector<float> positions = EventPositions(g, opt);
    std::vector<PositionEvents> events(positions.size());
    ComputeValveEventsTable(g, positions, opt.direction, events);

    std::string text;
    if (opt.csv) {
        text = ValveEventsCsv(events);
    } else {
        for (std::size_t i = 0; i < events.size(); ++i) {
            if (i > 0) text += '\n';
            AppendValveEventsTable(text, events[i], g.revArm.centre);
        }
    }
    if (!ctx.Write(text)) return kExitCannotRun;
    bool closes = true;
    for (const PositionEvents& e : events) {
        if (e.Closes()) continue;
        closes = false;
        ctx.Note(ValveEventsErrorText(e));
    }
    return closes ? kExitOk : kExitFault;
}

} // namespace vx::cli
