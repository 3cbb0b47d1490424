#include "model/analysis/valve_events_text.h"


#include <cmath>
#include <optional>

#include "base/fixed_format.h"
#include "model/analysis/position_text.h"

namespace vx {
namespace {

void AppendOptional(std::string& out, const std::optional<double>& v, int decimals, Digits digits) {
    if (v) AppendFigure(out, *v, decimals, digits);
}

void AppendInt(std::string& out, int v) { out += std::to_string(v); }

// A right-aligned column of `width` characters: the value, or "-". A value
// too wide for it goes in the exponent form, so it never runs into the
// column before.
void AppendColumn(std::string& out, const std::optional<double>& v, int decimals, int width, Digits digits) {
    if (v) {
        char buf[kNumberBuffer];
        out += FormatColumnFigure(buf, *v, width, decimals, digits);
    } else {
        out.append(static_cast<std::size_t>(width > 1 ? width - 1 : 0), ' ');
        out += '-';
    }
}

std::optional<double> Opt(const std::optional<double>& v) { return v; }

std::optional<double> Difference(const std::optional<double>& a, const std::optional<double>& b) {
    if (!a || !b) return std::nullopt;
    return static_cast<double>(*a) - static_cast<double>(*b);
}

} // namespace

bool EventsFinite(const PositionEvents& e) {
    for (const bool rear : {false, true}) {
        const EndEvents& x = e.End(rear);
        for (const auto* v : {&x.admissionAngle, &x.cutOffAngle, &x.releaseAngle, &x.compressionAngle, &x.admission,
                              &x.cutOff, &x.release, &x.compression})
            if (*v && !std::isfinite(**v)) return false;
        for (const double v : {x.lead, x.maxSteamOpening, x.maxExhaustOpening})
            if (!std::isfinite(v)) return false;
    }
    return std::isfinite(e.position) && std::isfinite(e.valveTravel) && std::isfinite(e.dieSlip);
}

void AppendValveEventsCsv(std::string& out, const PositionEvents& e, std::optional<float> offset, Digits digits) {
    for (const bool rear : {false, true}) {
        const EndEvents& x = e.End(rear);
        AppendFigure(out, e.position, 6, digits);
        out += e.forward ? ",forward," : ",reverse,";
        out += rear ? "rear" : "front";
        for (const auto* v : {&x.admissionAngle, &x.cutOffAngle, &x.releaseAngle, &x.compressionAngle, &x.admission,
                              &x.cutOff, &x.release, &x.compression}) {
            out += ',';
            AppendOptional(out, *v, 4, digits);
        }
        // A position that did not close keeps no figure of the solves that
        // failed: its lengths and counts are left empty.
        const bool sound = EventsSound(e);
        for (const double v : {x.lead, x.maxSteamOpening, x.maxExhaustOpening, e.valveTravel, e.dieSlip}) {
            out += ',';
            if (sound) AppendFigure(out, v, 5, digits);
        }
        out += ',';
        if (sound) AppendInt(out, x.steamOpenings);
        out += ',';
        if (sound) AppendInt(out, x.exhaustOpenings);
        out += ',';
        if (offset) {
            char buf[kNumberBuffer];
            out += FormatShortest(buf, *offset);
        }
        out += EventsSound(e) ? ",yes\n" : ",no\n";
    }
}

std::string ValveEventsCsv(std::span<const PositionEvents> events, std::span<const float> offsets, Digits digits) {
    std::string out(kValveEventsCsvHeader);
    for (std::size_t i = 0; i < events.size(); ++i)
        AppendValveEventsCsv(out, events[i], i < offsets.size() ? std::optional<float>(offsets[i]) : std::nullopt,
                             digits);
    return out;
}

void AppendValveEventsTable(std::string& out, const PositionEvents& e, double centre, const FigureStyle& style) {
    const Digits digits = style.digits;
    AppendPositionBlockHead(out, e.position, e.forward, centre, digits);

    struct EventRow {
        std::string_view label;
        std::optional<double> EndEvents::*member;
        bool difference;
    };
    static constexpr EventRow kRows[] = {
        {"admission, deg", &EndEvents::admissionAngle, false},
        {"cut-off, deg", &EndEvents::cutOffAngle, false},
        {"release, deg", &EndEvents::releaseAngle, false},
        {"compression, deg", &EndEvents::compressionAngle, false},
        {"admission, %", &EndEvents::admission, true},
        {"cut-off, %", &EndEvents::cutOff, true},
        {"release, %", &EndEvents::release, true},
        {"compression, %", &EndEvents::compression, true},
    };
    for (const EventRow& r : kRows) {
        AppendTextLabel(out, r.label);
        AppendColumn(out, Opt(e.front.*r.member), 4, kTextColumnWidth, digits);
        AppendColumn(out, Opt(e.rear.*r.member), 4, kTextColumnWidth, digits);
        if (r.difference)
            AppendColumn(out, Difference(e.front.*r.member, e.rear.*r.member), 4, kTextColumnWidth, digits);
        out += '\n';
    }
    struct LengthRow {
        std::string_view label;
        double EndEvents::*member;
        bool difference;
    };
    static constexpr LengthRow kLengths[] = {
        {"lead", &EndEvents::lead, true},
        {"max steam opening", &EndEvents::maxSteamOpening, false},
        {"max exhaust opening", &EndEvents::maxExhaustOpening, false},
    };
    // A position that did not close keeps no figure of the solves that
    // failed: a dash in place of its lengths and counts.
    const bool sound = EventsSound(e);
    const auto figure = [sound](double v) { return sound ? std::optional<double>(v) : std::nullopt; };
    for (const LengthRow& r : kLengths) {
        AppendTextLabel(out, LabelWithUnit(r.label, style.unit));
        const double f = e.front.*r.member, b = e.rear.*r.member;
        AppendColumn(out, figure(f), 5, kTextColumnWidth, digits);
        AppendColumn(out, figure(b), 5, kTextColumnWidth, digits);
        if (r.difference) AppendColumn(out, figure(f - b), 5, kTextColumnWidth, digits);
        out += '\n';
    }
    for (const bool steam : {true, false}) {
        AppendTextLabel(out, steam ? "steam openings" : "exhaust openings");
        for (const bool rear : {false, true}) {
            const EndEvents& x = e.End(rear);
            const std::string n = sound ? std::to_string(steam ? x.steamOpenings : x.exhaustOpenings) : "-";
            out.append(static_cast<std::size_t>(kTextColumnWidth) - n.size(), ' ');
            out += n;
        }
        out += '\n';
    }
    AppendTextLabel(out, LabelWithUnit("valve travel", style.unit));
    AppendColumn(out, figure(e.valveTravel), 5, kTextColumnWidth, digits);
    out += '\n';
    AppendTextLabel(out, LabelWithUnit("die slip", style.unit));
    AppendColumn(out, figure(e.dieSlip), 5, kTextColumnWidth, digits);
    out += '\n';
    if (!EventsSound(e)) out += ValveEventsErrorText(e) + '\n';
}

std::string ValveEventsErrorText(const PositionEvents& e) {
    if (e.Closes()) {
        if (EventsFinite(e)) return {};
        std::string out = "reverse arm ";
        AppendFixed(out, e.position, 6);
        return out + ": a figure of the events is not a finite number";
    }
    char cause[200];
    FormatGeometryCause(e.firstCause, e.firstCauseAngle, cause, sizeof cause);
    std::string out = "reverse arm ";
    AppendFixed(out, e.position, 6);
    out += ": the linkage does not close at " + std::to_string(e.failedSolves) + " of the angles solved; first: ";
    out += cause;
    return out;
}

bool EventsComplete(const PositionEvents& e) {
    for (const EndEvents* end : {&e.front, &e.rear})
        if (!end->admissionAngle || !end->cutOffAngle || !end->releaseAngle || !end->compressionAngle) return false;
    return true;
}

std::string EventsFaultText(const PositionEvents& e) {
    if (!EventsSound(e)) return ValveEventsErrorText(e);
    std::string missing;
    for (const bool rear : {false, true}) {
        const EndEvents& end = e.End(rear);
        const std::pair<const char*, bool> events[] = {{"admission", end.admissionAngle.has_value()},
                                                       {"cut-off", end.cutOffAngle.has_value()},
                                                       {"release", end.releaseAngle.has_value()},
                                                       {"compression", end.compressionAngle.has_value()}};
        std::string names;
        int count = 0, lost = 0;
        for (const auto& [name, happens] : events) lost += happens ? 0 : 1;
        for (const auto& [name, happens] : events) {
            if (happens) continue;
            ++count;
            if (count > 1) names += count == lost ? " and " : ", ";
            names += name;
        }
        if (count == 0) continue;
        if (!missing.empty()) missing += "; ";
        if (count == 4)
            missing += std::string("the ") + (rear ? "rear" : "front") + " port never opens";
        else
            missing += std::string("the ") + (rear ? "rear " : "front ") + names + (count == 1 ? " never happens" : " never happen");
    }
    if (missing.empty()) return {};
    std::string out = "reverse arm ";
    AppendFixed(out, e.position, 6);
    return out + ": " + missing;
}

} // namespace vx
