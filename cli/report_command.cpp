#include "cli/report_command.h"

#include <QString>

#include "cli/text_io.h"
#include "export/report_file.h"
#include "model/analysis/report_data.h"

namespace vx::cli {

bool ReadReportOptions(const Args& args, ReportOptions& opt, std::string& error) {
    error.clear();
    if (!ReadOutOption(args, true, opt.out, error)) return false;
    // The report is a PDF: a name whose suffix asks for another kind
    // (".txt", ".png") is refused, as the picture commands refuse one; a name
    // without a suffix ("-", a device) is written as PDF.
    const std::string_view name = std::string_view(opt.out).substr(opt.out.rfind('/') + 1);
    if (const auto dot = name.rfind('.'); dot != std::string_view::npos && dot > 0) {
        if (LowerAscii(name.substr(dot)) != ".pdf") {
            error = "--out " + Quote(opt.out) + ": the report is written as PDF only; give the name the suffix .pdf";
            return false;
        }
    }
    if (const std::string* value = args.Value("--paper")) {
        const std::string lower = LowerAscii(*value);
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
    GearState* design = ctx.ValidDesign();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    if (opt.title) g.designName = *opt.title;
    const Paper paper = opt.paper == "a4" ? Paper::A4 : opt.paper == "letter" ? Paper::Letter : LocalePaper();
    const ReportData data = BuildReportData(g, {}, opt.choices.solve);
    if (const QString message = WriteReport(data, paper, QString::fromStdString(opt.out), opt.choices.style.unit); !message.isEmpty())
        return ctx.CannotRun(Clause(message.toStdString()));
    // Written, with the fault marked on its first page.
    if (!data.fault.empty()) return ctx.Fault("the design has a fault (marked in the report): " + data.fault);
    return kExitOk;
}

} // namespace vx::cli
