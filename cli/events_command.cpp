#include "cli/events_command.h"

#include "cli/option_values.h"
#include "cli/text_io.h"
#include "model/gear/reverse_arm.h"
#include "model/analysis/valve_events_text.h"

namespace vx::cli {

bool ReadEventsOptions(const Args& args, EventsOptions& opt, std::string& error) {
    error.clear();
    opt.csv = args.Has("--csv");
    if (const std::string* value = args.Value("--positions")) {
        opt.haveOffsets = true;
        if (!ReadOffsetList(*value, opt.offsets, error)) return false;
    }
    if (const std::string* value = args.Value("--direction"))
        if (!ReadDirection(*value, opt.direction, error)) return false;
    return ReadAnalysisChoices(args, opt.choices, error);
}

std::vector<EventPosition> EventPositions(const GearState& g, const EventsOptions& opt) {
    // Beyond the travel, the arm stops at its end and the row shows where.
    const auto held = [&](double offset) {
        const double h = HeldOffset(g, offset);
        EventPosition p{ReverseArmAtOffset(g, h), ToModelFloat(offset)};
        if (h != offset) p.offset = OffsetFromMidGear(g.revArm.centre, p.position);
        return p;
    };
    std::vector<EventPosition> positions;
    if (!opt.haveOffsets) {
        // The nine notches: mid gear + k/4 Norm, k = -4..4, as NotchPositions.
        const auto notches = NotchPositions(g);
        for (int k = -4; k <= 4; ++k) {
            EventPosition p = held(k / 4.0 * static_cast<double>(g.frame.revArmToCentNorm));
            p.position = notches[static_cast<std::size_t>(k + 4)];
            positions.push_back(p);
        }
        return positions;
    }
    positions.reserve(opt.offsets.size());
    for (const double offset : opt.offsets) positions.push_back(held(offset));
    return positions;
}

std::vector<PositionEvents> ComputeEvents(const GearState& g, std::span<const EventPosition> positions,
                                          EventDirection direction, SolveMode solve) {
    // Each offset from the solve's own mid gear: the exact solve's mid gear
    // is a hair from the classic one.
    std::vector<double> at;
    at.reserve(positions.size());
    for (const EventPosition& p : positions) at.push_back(PositionOnSolve(g, p.position, solve));
    std::vector<PositionEvents> events(positions.size());
    ComputeValveEventsTable(g, at, direction, events, solve);
    return events;
}

int RunEventsCommand(CommandContext& ctx, const EventsOptions& opt) {
    GearState* design = ctx.ValidDesign();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    const std::vector<EventPosition> positions = EventPositions(g, opt);
    const std::vector<PositionEvents> events = ComputeEvents(g, positions, opt.direction, opt.choices.solve);

    std::string text;
    if (opt.csv) {
        std::vector<float> offsets;
        for (const EventPosition& p : positions) offsets.push_back(p.offset);
        text = ValveEventsCsv(events, offsets, opt.choices.style.digits);
    } else {
        for (std::size_t i = 0; i < events.size(); ++i) {
            if (i > 0) text += '\n';
            AppendValveEventsTable(text, events[i], MidGearCentre(g, opt.choices.solve), opt.choices.style);
        }
    }
    if (!ctx.Write(text)) return kExitCannotRun;
    bool sound = true;
    for (const PositionEvents& e : events) {
        if (EventsUsable(e)) continue;
        sound = false;
        ctx.Note(EventsFaultText(e));
    }
    return sound ? kExitOk : kExitFault;
}

} // namespace vx::cli
