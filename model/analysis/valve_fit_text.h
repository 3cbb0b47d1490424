// The valve setting as text: the fitted dimensions, the warnings, the
// residuals largest first, the corrections in shop terms and the events
// before and after them, as the command line prints them, the window shows
// them and the report prints them; and the two CSV tables. Numbers through
// the program's formatter, whatever the locale. No I/O.
#pragma once

#include <string>
#include <string_view>

#include "model/analysis/balance.h"
#include "model/analysis/position_text.h"
#include "model/analysis/valve_fit.h"

namespace vx {

inline constexpr std::string_view kFitCsvHeader = "field,drawing,fitted,change,standardError\n";
inline constexpr std::string_view kFitResidualsCsvHeader =
    "offset,direction,end,event,unit,measured,fitted,residual\n";

// One row per varied dimension (an empty standard error where the
// measurements do not fix it).
std::string FitCsv(const ValveFitResult& r);
// One row per measurement, largest |residual| first; residual is (measured -
// fitted) / weight; empty fitted and residual where the fitted design does
// not produce the event.
std::string FitResidualsCsv(const ValveFitProblem& p, const ValveFitResult& r);

// A measurement in words: "line 7: front cut-off at offset -0.5".
std::string MeasurementWords(const Measurement& m);
// The warning in words, naming both dimensions and the measurement that
// would separate them.
std::string FitWarningText(const FitWarning& w);

// The fitted dimensions, the fit's RMS, the warnings, the residuals and the
// events the fitted design does not produce.
void AppendFitText(std::string& out, const ValveFitProblem& p, const ValveFitResult& r);

// The corrections in shop terms, the worst front - rear cut-off difference
// before and after, and the events of each measured position before and
// after (as the events command prints them).
void AppendCorrectionsText(std::string& out, const BalanceResult& corrections);

// The whole valve setting as the command line and the window show it: the
// fit's text, then the corrections' (or why there are none) when they were
// made.
void AppendValveSettingText(std::string& out, const ValveFitProblem& p, const ValveFitResult& r,
                            const BalanceResult* corrections);

// The events of each position of an evaluation, as the events command
// prints them (in the style given), a blank line between positions.
void AppendBalanceEvents(std::string& out, const BalanceEvaluation& e, const FigureStyle& style = {});

} // namespace vx
