#include "cli/report_command.h"

#include <QString>

#include "cli/text_io.h"
#include "export/report_file.h"

namespace vx::cli {

bool ReadReportOptions(const Args& args, ReportOptions& opt, std::string& error) {
    error.clear();
    if (!ReadOutOption(args, true, opt.out, error)) return false;
    if (const std::string* value = args.Value("--paper")) {
        std::string lower = *value;
        for (char& c : lower)
            if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (lower != "a4" && lower != "letter" && lower != "auto") {
            error = "--paper needs a4, letter or auto, got " + Quote(*value);
            return false;
        }
        opt.paper = lower;
    }
    if (const std::string* title = args.Value("--title")) opt.title = *title;
    return ReadAnalysisChoices(args, opt.choices, error);
}

int RunReportCommand(CommandContext& ctx, const ReportOptions& opt) {
    GearState* design = ctx.Design();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    if (opt.title) g.designName = *opt.title;
    const Paper paper = opt.paper == "a4" ? Paper::A4 : opt.paper == "letter" ? Paper::Letter : LocalePaper();
    if (const QString message = WriteReport(g, paper, QString::fromStdString(opt.out), opt.choices.style.unit);
        !message.isEmpty())
        return ctx.CannotRun(Clause(message.toStdString()));
    return kExitOk;
}

} // namespace vx::cli
