#include "cli/midgear_command.h"

#include <string>

#include "cli/text_io.h"

namespace vx::cli {

bool ReadMidGearOptions(const Args& args, MidGearOptions& opt, std::string& error) {
    error.clear();
    return ReadAnalysisChoices(args, opt.choices, error);
}

int RunMidGearCommand(CommandContext& ctx, const MidGearOptions& opt) {
    const GearState* g = ctx.ValidDesign();
    if (!g) return ctx.DesignExitCode();
    if (ctx.LastMidGearSearch() == MidGearResult::NotFound) return ctx.Fault("mid gear not found");
    std::string number;
    if (opt.choices.style.digits == Digits::Full) {
        char b[kNumberBuffer];
        number = FormatRoundTrip(b, g->revArm.centre);
    } else {
        AppendNumber(number, g->revArm.centre);
    }
    std::string buf = LengthWithUnit(number, opt.choices.style.unit);
    buf.push_back('\n');
    return ctx.WriteThen(buf, kExitOk);
}

} // namespace vx::cli
