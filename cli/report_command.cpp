#include "cli/report_command.h"

#include <QDate>
#include <QString>

#include "cli/commands.h"
#include "cli/text_io.h"
#include "platform/qt/qt_pdf_canvas.h"
#include "scene/report/design_report.h"

#ifndef VEXLIN_VERSION
#define VEXLIN_VERSION "unknown"
#endif

namespace vx::cli {

bool ParseReportOptions(const std::vector<std::string>& args, std::string& out, std::string& paper,
                        std::string& error) {
    error.clear();
    paper = "auto";
    bool haveOut = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> value;
        if (TakeOutOption(args, i, out, error)) {
            if (!error.empty()) {
                error = "report: " + error;
                return false;
            }
            haveOut = true;
            continue;
        }
        if (TakeOption(args, i, "--paper", value)) {
            if (!value || (*value != "a4" && *value != "letter" && *value != "auto")) {
                error = "report: --paper needs a4, letter or auto";
                return false;
            }
            paper = *value;
            continue;
        }
        error = "report: unknown option " + Quote(args[i]);
        return false;
    }
    if (!haveOut) {
        error = "report: --out FILE is required";
        return false;
    }
    return true;
}

int RunReport(GearState& g, const std::vector<std::string>& args, std::ostream& /*out*/, std::ostream& err) {
    std::string path, paperName, error;
    if (!ParseReportOptions(args, path, paperName, error)) {
        err << "vexlin-cli: " << error << "\nTry 'vexlin-cli --help'.\n";
        return kExitUsage;
    }
    const Paper paper = paperName == "a4" ? Paper::A4 : paperName == "letter" ? Paper::Letter : LocalePaper();
    const QString file = QString::fromStdString(path);
    PdfCanvas canvas(file, paper, QStringLiteral("Vexlin design report: %1").arg(QString::fromStdString(g.designName)));
    if (!canvas.IsOpen()) {
        err << "vexlin-cli: report: cannot write " << Quote(path) << "\n";
        return kExitFailure;
    }
    const ReportInfo info{QDate::currentDate().toString(Qt::ISODate).toStdString(), VEXLIN_VERSION};
    DrawDesignReport(g, canvas, info);
    QString message;
    if (!canvas.Finish(&message)) {
        err << "vexlin-cli: report: " << message.toStdString() << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace vx::cli
