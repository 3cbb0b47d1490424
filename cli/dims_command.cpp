#include "cli/dims_command.h"

#include <string>

#include "cli/text_io.h"
#include "model/gear/dimensions.h"

namespace vx::cli {

int RunDimsCommand(CommandContext& ctx) {
    const GearState* g = ctx.Design();
    if (!g) return ctx.DesignExitCode();
    std::string buf = "id,field,name,value\n";
    for (const DimensionInfo& d : AllDimensions()) {
        buf += std::to_string(d.id);
        buf.push_back(',');
        AppendCsvField(buf, d.field);
        buf.push_back(',');
        AppendCsvField(buf, d.shortName);
        buf.push_back(',');
        AppendNumber(buf, DimensionValue(*g, d));
        buf.push_back('\n');
    }
    // The values are listed as they are, also those of a design that is not
    // usable: the listing is how to find them. The gate's cause follows.
    if (!ctx.Write(buf)) return kExitCannotRun;
    return ctx.GateDesign(*g);
}

} // namespace vx::cli
