#include "cli/report_command.h"

#include <QString>

#include "cli/commands.h"
#include "cli/text_io.h"
#include "export/report_file.h"

namespace vx::cli {

bool ReadReportOptions(const Args& args, std::string& out, std::string& paper, std::string& error) {
    error.clear();
    paper = "auto";
    if (!ReadOutOption(args, true, out, error)) return false;
    if (const std::string* value = args.Value("--paper")) {
        std::string lower = *value;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (lower != "a4" && lower != "letter" && lower != "auto") {
            error = "--paper needs a4, letter or auto, got " + Quote(*value);
            return false;
        }
        paper = lower;
    }
    return true;
}

int RunReportCommand(CommandContext& ctx) {
    std::string path, paperName, error;
    if (!ReadReportOptions(ctx.args, path, paperName, error)) return ctx.Usage(error);
    GearState* design = ctx.Design();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    if (const std::string* title = ctx.args.Value("--title")) g.designName = *title;
    const Paper paper = paperName == "a4" ? Paper::A4 : paperName == "letter" ? Paper::Letter : LocalePaper();
    if (const QString message = WriteReport(g, paper, QString::fromStdString(path)); !message.isEmpty())
        return ctx.CannotRun(Clause(message.toStdString()));
    return kExitOk;
}

} // namespace vx::cli
