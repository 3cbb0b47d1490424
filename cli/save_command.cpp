#include "cli/save_command.h"

#include "data/dimension_file.h"
#include "model/gear/design_validity.h"

namespace vx::cli {

int RunSaveCommand(CommandContext& ctx) {
    GearState* g = ctx.Design();
    if (!g) return ctx.DesignExitCode();
    // The table's parser has checked that there is one.
    // A design being edited may pass through a bad state: it is saved all
    // the same, with the cause, and the fault's exit status.
    const FileResult r = SaveDesign(*g, ctx.args.Operands()[0]);
    if (!r.ok) return ctx.CannotRun(Clause(r.error));
    if (const DesignFault fault = CheckDesignValidity(*g); fault.Any())
        return ctx.Fault("saved, but the design is not usable: " + DescribeDesignFault(fault));
    return kExitOk;
}

} // namespace vx::cli
