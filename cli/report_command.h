// vexlin-cli report: the design report as a PDF file.
#pragma once

#include <optional>
#include <string>

#include "cli/command_context.h"
#include "cli/option_values.h"

namespace vx::cli {

struct ReportOptions {
    std::string out;                  // the PDF file
    std::string paper = "auto";       // "a4", "letter" or "auto"
    std::optional<std::string> title; // the design's name in the report
    AnalysisChoices choices;          // --solve, --unit
};

// Reads "--out FILE" (required), "--paper a4|letter|auto" (in any case),
// "--title TEXT", "--solve" and "--unit"; on a usage error returns false
// with the message.
bool ReadReportOptions(const Args& args, ReportOptions& opt, std::string& error);

// Writes the report of the design. Needs the Qt application
// (EnsureGuiApplication).
int RunReportCommand(CommandContext& ctx, const ReportOptions& opt);

} // namespace vx::cli
