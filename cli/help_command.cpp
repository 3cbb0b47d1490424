#include "cli/help_command.h"

#include <string>
#include <vector>

#include "cli/text_io.h"

namespace vx::cli {

int RunHelpCommand(CommandContext& ctx) {
    const std::vector<std::string>& words = ctx.args.Operands();
    if (words.empty()) return ctx.WriteThen(ProgramHelp(), kExitOk);
    std::string name = words[0];
    for (std::size_t i = 1; i < words.size(); ++i) name += " " + words[i];
    const CommandEntry* entry = FindCommand(name);
    if (!entry) return ctx.Usage("no command " + Quote(name) + " (\"vexlin-cli --help\" lists them)");
    return ctx.WriteThen(CommandHelp(*entry), kExitOk);
}

} // namespace vx::cli
