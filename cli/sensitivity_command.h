// vexlin-cli sensitivity: how much each dimension moves the valve events at
// a list of reverse arm positions, ranked for reading or as CSV.
#pragma once

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command_context.h"
#include "cli/offset_column.h"
#include "cli/option_values.h"
#include "model/analysis/sensitivity.h"
#include "model/analysis/valve_events_text.h"

namespace vx::cli {

struct SensitivityOptions {
    SensitivitySettings settings;
    EventFigure of = EventFigure::CutOffDiff; // the figure ranked
    int top = 0;                              // 0: every dimension
    bool csv = false;
    AnalysisChoices choices; // --solve, --digits, --unit
};

// Reads "--positions O1,...", "--direction auto|forward|reverse",
// "--fields F,...", "--of FIGURE", "--top N", "--threads N", "--csv",
// "--solve", "--digits" and "--unit",
// every value given checked, in that order; on a usage error returns false
// with the message.
bool ReadSensitivityOptions(const Args& args, SensitivityOptions& opt, std::string& error);

// Writes the ranking (or CSV). Exit code 1 with the geometry errors on err
// when the design does not close at a position asked for.
int RunSensitivityCommand(CommandContext& ctx, const SensitivityOptions& opt);

// Writes an analysis's text to `out`; false, with the message on `err`,
// when it cannot be written.
bool WriteAnalysisText(std::ostream& out, std::ostream& err, std::string_view command, std::string_view text);
// The geometry error of a position where the design does not close, on `err`.
void ReportOpenPosition(std::ostream& err, std::string_view command, const NominalPosition& p);

// The analysis commands' ending: the text written, then each position
// where the design does not close named. The exit status: cannot run when
// the text cannot be written, a fault where the design does not close.
// The offsets from mid gear of an analysis's positions, as asked for: the
// offsets given, or the nine notches' k/4 Norm.
std::vector<float> AnalysisOffsets(const GearState& g, const std::vector<double>& given);

// The CSV with the offset column (offset_column.h) for an analysis's
// positions, in the order of `offsets`.
template <class Position>
std::string WithAnalysisOffsets(const std::string& csv, const std::vector<Position>& positions,
                                const std::vector<float>& offsets) {
    std::vector<double> at;
    for (const Position& p : positions) at.push_back(static_cast<double>(p.position));
    return WithOffsetColumn(csv, at, offsets);
}

template <class Position>
int FinishAnalysis(std::ostream& out, std::ostream& err, std::string_view command, std::string_view text,
                   const std::vector<Position>& positions, bool quiet = false) {
    if (!WriteAnalysisText(out, err, command, text)) return kExitCannotRun;
    bool closes = true;
    for (const NominalPosition& p : positions) {
        if (EventsUsable(p.nominal)) continue;
        closes = false;
        if (!quiet) ReportOpenPosition(err, command, p);
    }
    return closes ? kExitOk : kExitFault;
}

} // namespace vx::cli
