#include "model/analysis/work_text.h"

#include <optional>

#include "base/fixed_format.h"
#include "model/analysis/position_text.h"

namespace vx {
namespace {

// A setting in its shortest decimal form that reads back the same float.
void AppendGeneral(std::string& out, float v) {
    out += ShortestString(v);
}

void AppendColumn(std::string& out, const std::optional<double>& v, int decimals, Digits digits) {
    if (v) {
        char buf[kNumberBuffer];
        out += FormatFigure(buf, *v, kTextColumnWidth, decimals, digits);
    } else {
        out.append(kTextColumnWidth - 1, ' ');
        out += '-';
    }
}

std::optional<double> Figure(const IndicatorCard& c, float IndicatorCard::*m) {
    if (!c.hasCard) return std::nullopt;
    return static_cast<double>(c.*m);
}

std::optional<double> Percent(const IndicatorCard& c, float IndicatorCard::*m) {
    if (!c.hasCard) return std::nullopt;
    return static_cast<double>(c.*m) * 100.0;
}

} // namespace

void AppendWorkCsv(std::string& out, const PositionWork& w, const PositionEvents& e, Digits digits) {
    for (const bool rear : {false, true}) {
        const IndicatorCard& c = w.End(rear);
        const EndEvents& x = e.End(rear);
        AppendFigure(out, w.position, 6, digits);
        out += w.forward ? ",forward," : ",reverse,";
        out += rear ? "rear" : "front";
        const std::optional<double>* found[] = {&x.admission, &x.cutOff, &x.release, &x.compression};
        const float IndicatorCard::*used[] = {&IndicatorCard::admission, &IndicatorCard::cutOff,
                                               &IndicatorCard::release, &IndicatorCard::compression};
        for (int i = 0; i < 4; ++i) {
            out += ',';
            if (c.hasCard) AppendFigure(out, static_cast<double>(c.*used[i]) * 100.0, 4, digits);
            else if (*found[i]) AppendFigure(out, **found[i], 4, digits);
        }
        out += ',';
        if (c.hasCard) AppendFigure(out, c.mep, 4, digits);
        out += ',';
        if (c.hasCard) AppendFigure(out, c.mepRatio, 6, digits);
        out += ',';
        if (c.hasCard) AppendFigure(out, c.steamPerStroke, 6, digits);
        out += ',';
        if (c.steamPerWork) AppendFigure(out, *c.steamPerWork, 6, digits);
        out += ',';
        if (w.tractiveEffort) AppendFigure(out, *w.tractiveEffort, 2, digits);
        out += '\n';
    }
}

std::string WorkCsv(std::span<const PositionWork> work, std::span<const PositionEvents> events, Digits digits) {
    std::string out(kWorkCsvHeader);
    for (std::size_t i = 0; i < work.size() && i < events.size(); ++i)
        AppendWorkCsv(out, work[i], events[i], digits);
    return out;
}

std::string WorkSettingsText(const WorkSettings& s) {
    std::string out = "p1 ";
    AppendGeneral(out, s.admissionPressure);
    out += ", pb ";
    AppendGeneral(out, s.backPressure);
    out += ", c ";
    AppendGeneral(out, s.clearance);
    out += ", n ";
    AppendGeneral(out, s.exponent);
    out += ", " + std::to_string(s.cylinders) + (s.cylinders == 1 ? " cylinder" : " cylinders");
    return out;
}

std::string TractiveEffortUnitText(LengthUnit unit) {
    switch (unit) {
    case LengthUnit::Inch: return "(pressure unit) x in^2, e.g. lbf for psi";
    case LengthUnit::Millimetre: return "(pressure unit) x mm^2, e.g. N for MPa";
    case LengthUnit::None: break;
    }
    return std::string(kTractiveEffortUnit);
}

void AppendWorkTable(std::string& out, const PositionWork& w, float centre, const FigureStyle& style) {
    const Digits digits = style.digits;
    AppendPositionBlockHead(out, w.position, w.forward, centre, digits);
    struct Row {
        std::string_view label;
        float IndicatorCard::*member;
        bool percent;
        int decimals;
        bool difference;
    };
    static constexpr Row kRows[] = {
        {"admission, %", &IndicatorCard::admission, true, 4, false},
        {"cut-off, %", &IndicatorCard::cutOff, true, 4, true},
        {"release, %", &IndicatorCard::release, true, 4, true},
        {"compression, %", &IndicatorCard::compression, true, 4, true},
        {"MEP", &IndicatorCard::mep, false, 4, true},
        {"MEP / p1", &IndicatorCard::mepRatio, false, 6, true},
        {"steam per stroke", &IndicatorCard::steamPerStroke, false, 6, true},
    };
    for (const Row& r : kRows) {
        AppendTextLabel(out, r.label);
        const auto f = r.percent ? Percent(w.front, r.member) : Figure(w.front, r.member);
        const auto b = r.percent ? Percent(w.rear, r.member) : Figure(w.rear, r.member);
        AppendColumn(out, f, r.decimals, digits);
        AppendColumn(out, b, r.decimals, digits);
        if (r.difference)
            AppendColumn(out, f && b ? std::optional<double>(*f - *b) : std::nullopt, r.decimals, digits);
        out += '\n';
    }
    AppendTextLabel(out, "steam per work");
    for (const bool rear : {false, true}) {
        const auto& v = w.End(rear).steamPerWork;
        AppendColumn(out, v ? std::optional<double>(*v) : std::nullopt, 6, digits);
    }
    out += '\n';
    AppendTextLabel(out, "tractive effort");
    AppendColumn(out, w.tractiveEffort ? std::optional<double>(*w.tractiveEffort) : std::nullopt, 2, digits);
    out += "  (whole engine)\n";
    for (const bool rear : {false, true}) {
        const std::uint32_t cases = w.End(rear).cases;
        if (cases == 0) continue;
        out += rear ? "rear: " : "front: ";
        out += CardCasesText(cases);
        out += '\n';
    }
}

} // namespace vx
