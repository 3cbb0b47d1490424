#include "cli/midgear_command.h"

#include <string>

#include "cli/text_io.h"
#include "model/analysis/valve_events.h"

namespace vx::cli {

bool ReadMidGearOptions(const Args& args, MidGearOptions& opt, std::string& error) {
    error.clear();
    opt.choices.solve = SolveMode::Classic; // the design's own mid gear unless asked
    return ReadAnalysisChoices(args, opt.choices, error);
}

int RunMidGearCommand(CommandContext& ctx, const MidGearOptions& opt) {
    const GearState* g = ctx.ValidDesign();
    if (!g) return ctx.DesignExitCode();
    if (ctx.LastMidGearSearch() == MidGearResult::NotFound) return ctx.Fault("mid gear not found");
    // The solve's own mid gear: the exact one (the classic one where the
    // exact search finds none), or the classic search's.
    const double centre = MidGearCentre(*g, opt.choices.solve);
    std::string number;
    if (opt.choices.style.digits == Digits::Full) {
        char b[kNumberBuffer];
        number = FormatRoundTrip(b, centre);
    } else {
        AppendNumber(number, ToModelFloat(centre));
    }
    std::string buf = LengthWithUnit(number, opt.choices.style.unit);
    buf.push_back('\n');
    return ctx.WriteThen(buf, kExitOk);
}

} // namespace vx::cli
