#include "cli/save_command.h"

#include "data/dimension_file.h"

namespace vx::cli {

int RunSaveCommand(CommandContext& ctx) {
    GearState* g = ctx.Design();
    if (!g) return ctx.DesignExitCode();
    // The table's parser has checked that there is one.
    const FileResult r = SaveDesign(*g, ctx.args.Operands()[0]);
    if (!r.ok) return ctx.CannotRun(Clause(r.error));
    return kExitOk;
}

} // namespace vx::cli
