#include "cli/report_command.h"

#include <QString>

#include "cli/commands.h"
#include "cli/text_io.h"
#include "export/report_file.h"

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
    if (const QString message = WriteReport(g, paper, QString::fromStdString(path)); !message.isEmpty()) {
        err << "vexlin-cli: report: " << message.toStdString() << "\n";
        return kExitFailure;
    }
    return kExitOk;
}

} // namespace vx::cli
