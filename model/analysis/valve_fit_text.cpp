#include "model/analysis/valve_fit_text.h"

#include <cmath>

#include "base/fixed_format.h"
#include "model/analysis/valve_events_text.h"
#include "model/gear/dimensions.h"

namespace vx {
namespace {

std::string General(double v) {
    char buf[kNumberBuffer];
    return std::string(FormatGeneral9(buf, v));
}

void Pad(std::string& out, std::string_view text, std::size_t width) {
    out += text;
    if (text.size() < width) out.append(width - text.size(), ' ');
}

void Column(std::string& out, double v, int width, int decimals) {
    char buf[kNumberBuffer];
    out += FormatColumn(buf, v, width, decimals);
}

int Decimals(MeasureUnit u) { return u == MeasureUnit::Length ? 5 : 4; }

std::string_view DirectionName(EventDirection d) {
    return d == EventDirection::Forward ? "forward" : d == EventDirection::Reverse ? "reverse" : "auto";
}

std::string Field(int id) { return std::string(FindDimension(id)->field); }

} // namespace

std::string FitCsv(const ValveFitResult& r) {
    std::string out(kFitCsvHeader);
    for (const FittedDimension& d : r.dims) {
        // The values as the design holds them, so that they paste back as --set.
        out += Field(d.id) + "," + ShortestString(d.drawing) + "," + ShortestString(d.fitted) + "," +
               General(d.change) + ",";
        if (d.standardError) out += General(*d.standardError);
        out += '\n';
    }
    return out;
}

std::string FitResidualsCsv(const ValveFitProblem& p, const ValveFitResult& r) {
    std::string out(kFitResidualsCsvHeader);
    for (const FitResidual& fr : r.residuals) {
        const Measurement& m = p.measurements[fr.index];
        out += General(m.offset);
        out += ',';
        out += DirectionName(m.direction);
        out += m.rear ? ",rear," : ",front,";
        out += MeasuredEventName(m.event);
        out += ',';
        out += MeasureUnitName(m.unit);
        out += ',';
        out += General(m.value);
        out += ',';
        if (fr.fitted) out += General(*fr.fitted);
        out += ',';
        if (fr.fitted) out += General(fr.residual);
        out += '\n';
    }
    return out;
}

std::string MeasurementWords(const Measurement& m) {
    std::string s;
    if (m.line > 0) s = "line " + std::to_string(m.line) + ": ";
    s += std::string(m.rear ? "rear " : "front ") + std::string(MeasuredEventWords(m.event)) + " at offset " +
         General(m.offset);
    if (m.direction != EventDirection::Auto) s += " (" + std::string(DirectionName(m.direction)) + ")";
    return s;
}

std::string FitWarningText(const FitWarning& w) {
    std::string s = Field(w.a) + " and " + Field(w.b) + " cannot be told apart by these measurements (";
    if (w.rankDeficient) {
        s += "the covariance is not of full rank";
        if (w.correlation != 0) s += ", correlation " + FixedString(w.correlation, 3);
    } else {
        s += "correlation " + FixedString(w.correlation, 3);
    }
    s += "): ";
    if (w.separate.empty())
        s += "no event at the nine notches separates them";
    else
        s += "measuring the " + w.separate + " would separate them";
    return s;
}

void AppendFitText(std::string& out, const ValveFitProblem& p, const ValveFitResult& r) {
    out += "Fit of " + std::to_string(r.dims.size()) + " dimensions to " + std::to_string(p.measurements.size()) +
           " measurements";
    if (r.cancelled) out += " (cancelled: the best point so far)";
    out += "\n\ndimension                  drawing      fitted      change   std error\n";
    for (const FittedDimension& d : r.dims) {
        Pad(out, Field(d.id), 20);
        Column(out, d.drawing, 12, 5);
        Column(out, d.fitted, 12, 5);
        Column(out, d.change, 12, 5);
        if (d.standardError)
            Column(out, *d.standardError, 12, 5);
        else
            out += "           -";
        if (d.atBound) out += "  at a bound";
        out += '\n';
    }
    out += "\nRMS against the weights   ";
    AppendFixed(out, r.drawingRms, 3);
    out += " (drawing) -> ";
    AppendFixed(out, r.rms, 3);
    out += " (fitted)\niterations " + std::to_string(r.iterations) + ", designs evaluated " +
           std::to_string(r.evaluations) + ", starts " + std::to_string(r.starts) + "\n";
    if (!r.warnings.empty()) {
        out += "\nWarnings:\n";
        for (const FitWarning& w : r.warnings) out += "  " + FitWarningText(w) + "\n";
    }
    if (!r.notProduced.empty()) {
        out += "\nNot produced by the fitted design:\n";
        for (const std::size_t i : r.notProduced)
            out += "  " + MeasurementWords(p.measurements[i]) + ": the port never opens or never closes there\n";
    }
    out += "\nResiduals, largest first ((measured - fitted) / weight):\n"
           "  line      offset  end    event         unit        measured      fitted    residual\n";
    for (const FitResidual& fr : r.residuals) {
        const Measurement& m = p.measurements[fr.index];
        char buf[kNumberBuffer];
        out += FormatInt(buf, m.line, 6);
        Column(out, m.offset, 12, 4);
        out += "  ";
        Pad(out, m.rear ? "rear" : "front", 7);
        Pad(out, MeasuredEventName(m.event), 12);
        Pad(out, MeasureUnitName(m.unit), 8);
        Column(out, m.value, 12, Decimals(m.unit));
        if (fr.fitted) {
            Column(out, *fr.fitted, 12, Decimals(m.unit));
            Column(out, fr.residual, 12, 3);
        } else {
            out += "           -   not produced";
        }
        out += '\n';
    }
}

void AppendValveSettingText(std::string& out, const ValveFitProblem& p, const ValveFitResult& r,
                            const BalanceResult* corrections) {
    AppendFitText(out, p, r);
    if (!corrections) return;
    out += '\n';
    if (corrections->Ok())
        AppendCorrectionsText(out, *corrections);
    else
        out += "Corrections: " + corrections->error + "\n";
}

void AppendBalanceEvents(std::string& out, const BalanceEvaluation& e, const FigureStyle& style) {
    for (std::size_t i = 0; i < e.positions.size(); ++i) {
        if (i > 0) out += '\n';
        AppendValveEventsTable(out, e.positions[i].events, e.positions[i].centre, style);
    }
}

void AppendCorrectionsText(std::string& out, const BalanceResult& c) {
    out += "Corrections (the balance of the fitted engine";
    if (c.cancelled) out += ", cancelled: the best so far";
    out += "):\n";
    bool any = false;
    for (const BalanceChange& ch : c.changes) {
        const double change = static_cast<double>(ch.after) - static_cast<double>(ch.before);
        const double shown = IsAngleDimension(ch.id) ? std::remainder(change, 360.0) : change;
        if (ch.after == ch.before) continue;
        any = true;
        out += "  " + ShopCorrection(ch.id, shown) + "\n";
    }
    if (!any) out += "  none: the balance finds nothing better within the bounds\n";
    out += "worst cut-off difference ";
    AppendFixed(out, c.before.worstCutOffDifference, 2);
    out += " -> ";
    AppendFixed(out, c.after.worstCutOffDifference, 2);
    out += " points\n\nBefore the corrections:\n\n";
    AppendBalanceEvents(out, c.before);
    out += "\nAfter the corrections:\n\n";
    AppendBalanceEvents(out, c.after);
}

} // namespace vx
