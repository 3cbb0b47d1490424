#include "cli/midgear_command.h"

#include <string>

#include "cli/text_io.h"

namespace vx::cli {

int RunMidGearCommand(CommandContext& ctx) {
    const GearState* g = ctx.ValidDesign();
    if (!g) return ctx.DesignExitCode();
    if (ctx.LastMidGearSearch() == MidGearResult::NotFound) return ctx.Fault("mid gear not found");
    std::string buf;
    AppendNumber(buf, g->revArm.centre);
    buf.push_back('\n');
    return ctx.WriteThen(buf, kExitOk);
}

} // namespace vx::cli
