#include "cli/compare_command.h"

#include <bit>
#include <cstdint>
#include <limits>
#include <memory>
#include <algorithm>
#include <cmath>
#include <optional>

#include "cli/events_command.h"
#include "cli/text_io.h"
#include "model/gear/dimensions.h"
#include "base/fixed_format.h"
#include "model/analysis/valve_events_text.h"

namespace vx::cli {
namespace {

// One figure of the events, named as the events CSV names it.
struct Figure {
    std::string_view name;
    int decimals; // as the events CSV writes it; -1 for a count
    std::optional<double> (*of)(const PositionEvents& e, bool rear);
    std::string_view unit = {}; // "deg", "%", "len"; empty for a count
    bool angle = false;         // a crank angle: differences wrap to +-180
};

template <std::optional<double> EndEvents::*M>
std::optional<double> Event(const PositionEvents& e, bool rear) {
    const auto& v = e.End(rear).*M;
    return v ? std::optional<double>(*v) : std::nullopt;
}
template <double EndEvents::*M>
std::optional<double> Length(const PositionEvents& e, bool rear) {
    return e.End(rear).*M;
}
template <int EndEvents::*M>
std::optional<double> Count(const PositionEvents& e, bool rear) {
    return e.End(rear).*M;
}

constexpr Figure kFigures[] = {
    {"admissionAngle", 4, &Event<&EndEvents::admissionAngle>, "deg", true},
    {"cutOffAngle", 4, &Event<&EndEvents::cutOffAngle>, "deg", true},
    {"releaseAngle", 4, &Event<&EndEvents::releaseAngle>, "deg", true},
    {"compressionAngle", 4, &Event<&EndEvents::compressionAngle>, "deg", true},
    {"admission", 4, &Event<&EndEvents::admission>, "%"},
    {"cutOff", 4, &Event<&EndEvents::cutOff>, "%"},
    {"release", 4, &Event<&EndEvents::release>, "%"},
    {"compression", 4, &Event<&EndEvents::compression>, "%"},
    {"lead", 5, &Length<&EndEvents::lead>, "len"},
    {"maxSteamOpening", 5, &Length<&EndEvents::maxSteamOpening>, "len"},
    {"maxExhaustOpening", 5, &Length<&EndEvents::maxExhaustOpening>, "len"},
    {"valveTravel", 5, [](const PositionEvents& e, bool) { return std::optional<double>(e.valveTravel); }, "len"},
    {"dieSlip", 5, [](const PositionEvents& e, bool) { return std::optional<double>(e.dieSlip); }, "len"},
    {"steamOpenings", -1, &Count<&EndEvents::steamOpenings>},
    {"exhaustOpenings", -1, &Count<&EndEvents::exhaustOpenings>},
};

// The lengths (lead, openings, travel, die slip) are the figures written
// with five decimals.
bool IsLength(const Figure& f) { return f.decimals == 5; }

void AppendValue(std::string& out, const std::optional<double>& v, int decimals, int width, Digits digits) {
    char buf[kNumberBuffer];
    if (!v) {
        if (width > 1) out.append(static_cast<std::size_t>(width - 1), ' ');
        out += width > 0 ? "-" : "";
        return;
    }
    out += decimals < 0 ? FormatInt(buf, static_cast<long long>(*v), width)
           : width > 0  ? FormatColumnFigure(buf, *v, width, decimals, digits)
                        : FormatFigure(buf, *v, 0, decimals, digits);
}

// A figure as it is printed: rounded to its decimals once, read back.
std::optional<double> Printed(const std::optional<double>& v, int decimals) {
    if (!v || decimals < 0 || !std::isfinite(*v)) return v;
    char buf[kNumberBuffer];
    return ReadNumber(FormatFixed(buf, *v, 0, decimals));
}

// b - a from the printed figures, so that 7.3 - 7.25 is 0.05; an angle's
// difference wrapped into (-180, 180], so 5.7635 -> 357.6414 is -8.1221;
// rounded to the decimals, without the sign of a zero.
std::optional<double> Difference(const std::optional<double>& a, const std::optional<double>& b, int decimals,
                                 bool angle) {
    const auto pa = Printed(a, decimals), pb = Printed(b, decimals);
    if (!pa || !pb) return std::nullopt;
    double d = *pb - *pa;
    if (angle && std::isfinite(d)) {
        d = std::fmod(d, 360.0);
        if (d > 180) d -= 360;
        if (d <= -180) d += 360;
    }
    d = Printed(d, decimals).value_or(d);
    return d == 0 ? 0.0 : d; // never "-0.0000"
}

std::optional<double> Difference(const Figure& f, const std::optional<double>& a, const std::optional<double>& b) {
    return Difference(a, b, f.decimals, f.angle);
}

// The side of dead centre the steam port opens on, from the lead: open at
// dead centre means admission before it.
std::optional<double> AdmissionSide(const PositionEvents& e, bool rear) {
    const EndEvents& x = e.End(rear);
    if (!x.admissionAngle) return std::nullopt;
    return x.lead > 0 ? -1.0 : 1.0;
}
std::string_view SideText(const std::optional<double>& side) {
    return !side ? "-" : *side < 0 ? "before DC" : "after DC";
}

// Half a unit in the last printed place of a figure with `decimals`.
double HalfUnit(int decimals) { return decimals < 0 ? 0.5 : 0.5 * std::pow(10.0, -decimals); }

// One figure that moved beyond the tolerance, for the summary.
struct Moved {
    std::string what; // "offset -1, rear cutOff (%)"
    std::string a, b, by;
    double size = 0;  // |difference|
};

std::string Text(const std::optional<double>& v, int decimals, Digits digits) {
    std::string out;
    AppendValue(out, v, decimals, 0, digits);
    return out.empty() ? "-" : out;
}

void AppendPadded(std::string& out, std::string_view text, std::size_t width) {
    out += text;
    if (text.size() < width) out.append(width - text.size(), ' ');
}

} // namespace

bool ReadCompareOptions(const Args& args, CompareOptions& opt, std::string& error) {
    if (!ReadEventsOptions(args, opt.events, error)) return false;
    if (const std::string* value = args.Value("--tolerance")) {
        const auto v = ParseNumber(*value);
        if (!v || !std::isfinite(*v) || *v < 0) {
            error = "--tolerance needs a finite number not below 0, got " + Quote(*value);
            return false;
        }
        opt.tolerance = *v;
    }
    // The table's parser has checked that there are two.
    opt.pathA = args.Operands()[0];
    opt.pathB = args.Operands()[1];
    if (opt.pathA == "-" && opt.pathB == "-") {
        error = "only one of the two designs can come from standard input";
        return false;
    }
    return true;
}

int RunCompareCommand(CommandContext& ctx, const CompareOptions& options) {
    const EventsOptions& opt = options.events;
    const FigureStyle& style = opt.choices.style;
    int code = kExitOk;
    // A design that cannot be compared is trouble, as diff has it: 3.
    const auto trouble = [&](int c) { return c == kExitOk ? kExitOk : c == kExitUsage ? c : kExitCannotRun; };
    const std::unique_ptr<GearState> a = ctx.OpenDesignAt(options.pathA, code);
    if (!a) return trouble(code);
    const std::unique_ptr<GearState> b = ctx.OpenDesignAt(options.pathB, code);
    if (!b) return trouble(code);
    if (const int gateA = ctx.GateDesign(*a), gateB = ctx.GateDesign(*b); gateA != kExitOk || gateB != kExitOk)
        return kExitCannotRun;

    const std::vector<EventPosition> atA = EventPositions(*a, opt), atB = EventPositions(*b, opt);
    const std::vector<PositionEvents> ea = ComputeEvents(*a, atA, opt.direction, opt.choices.solve);
    const std::vector<PositionEvents> eb = ComputeEvents(*b, atB, opt.direction, opt.choices.solve);
    // Figures of a design that did not close, or lost an event, cannot be
    // compared: nothing is written.
    bool sound = true;
    for (std::size_t i = 0; i < ea.size(); ++i)
        for (const auto* e : {&ea[i], &eb[i]}) {
            if (EventsUsable(*e)) continue;
            sound = false;
            ctx.err << "vexlin-cli: compare: " << (e == &ea[i] ? "A: " : "B: ") << EventsFaultText(*e) << '\n';
        }
    if (!sound) {
        ctx.err << "vexlin-cli: compare: cannot compare a design with a fault\n";
        return kExitCannotRun;
    }

    const auto beyond = [&](double size, int decimals) {
        return size > options.tolerance.value_or(HalfUnit(decimals));
    };
    char buf[kNumberBuffer];
    // What moved, for the summary and the exit status.
    std::vector<Moved> moved;
    for (const DimensionInfo& d : AllDimensions()) {
        const float va = DimensionValue(*a, d), vb = DimensionValue(*b, d);
        if (std::bit_cast<std::uint32_t>(va) == std::bit_cast<std::uint32_t>(vb)) continue;
        const double by = static_cast<double>(vb) - static_cast<double>(va);
        if (options.tolerance && !(std::fabs(by) > *options.tolerance)) continue;
        moved.push_back({"dimension " + std::string(d.field), ShortestString(va), ShortestString(vb),
                         ShortestString(ToModelFloat(by)), std::fabs(by)});
    }
    for (std::size_t i = 0; i < ea.size(); ++i)
        for (const bool rear : {false, true})
            for (const Figure& f : kFigures) {
                const auto va = f.of(ea[i], rear), vb = f.of(eb[i], rear);
                const auto d = Difference(f, va, vb);
                const bool changed = d ? beyond(std::fabs(*d), f.decimals) : va.has_value() != vb.has_value();
                if (!changed) continue;
                std::string what = "offset " + std::string(FormatShortest(buf, atA[i].offset)) +
                                   (rear ? ", rear " : ", front ") + std::string(f.name);
                if (!f.unit.empty()) what += " (" + std::string(f.unit) + ")";
                moved.push_back({what, Text(va, f.decimals, style.digits), Text(vb, f.decimals, style.digits),
                                 Text(d, f.decimals, Digits::Fixed), // a difference of the printed figures
                                 d ? std::fabs(*d) : std::numeric_limits<double>::infinity()});
            }
    std::stable_sort(moved.begin(), moved.end(), [](const Moved& x, const Moved& y) { return x.size > y.size; });
    const int status = moved.empty() ? kCompareSame : kCompareDiffer;

    std::string out;
    if (opt.csv) {
        out = "offset,end,name,a,b,difference\n";
        for (const DimensionInfo& d : AllDimensions()) {
            const float va = DimensionValue(*a, d), vb = DimensionValue(*b, d);
            if (std::bit_cast<std::uint32_t>(va) == std::bit_cast<std::uint32_t>(vb)) continue;
            out += ",,";
            out += d.field;
            out += ',';
            AppendNumber(out, va);
            out += ',';
            AppendNumber(out, vb);
            out += ',';
            AppendNumber(out, ToModelFloat(static_cast<double>(vb) - static_cast<double>(va)));
            out += '\n';
        }
        for (std::size_t i = 0; i < ea.size(); ++i)
            for (const bool rear : {false, true})
                for (const Figure& f : kFigures) {
                    out += FormatShortest(buf, atA[i].offset);
                    out += rear ? ",rear," : ",front,";
                    out += f.name;
                    const auto va = f.of(ea[i], rear), vb = f.of(eb[i], rear);
                    for (const auto& v : {va, vb, Difference(f, va, vb)}) {
                        out += ',';
                        AppendValue(out, v, f.decimals, 0, style.digits);
                    }
                    out += '\n';
                }
        return ctx.WriteThen(out, status);
    }

    std::string tolerance = options.tolerance ? ShortestString(ToModelFloat(*options.tolerance))
                                              : std::string("half a unit in the last printed place");
    if (moved.empty()) {
        out = "A (" + options.pathA + ") and B (" + options.pathB +
              ") are the same: no dimension and no figure differs by more than " + tolerance + "\n";
        return ctx.WriteThen(out, status);
    }
    out = "A: " + options.pathA + "\nB: " + options.pathB + "\n\n";
    out += std::to_string(moved.size()) + " differ by more than " + tolerance + ", largest first:\n";
    for (const Moved& m : moved) out += "  " + m.what + ": " + m.a + " -> " + m.b + " (" + m.by + ")\n";
    out += '\n';

    std::string dims;
    for (const DimensionInfo& d : AllDimensions()) {
        const float va = DimensionValue(*a, d), vb = DimensionValue(*b, d);
        if (std::bit_cast<std::uint32_t>(va) == std::bit_cast<std::uint32_t>(vb)) continue;
        AppendPadded(dims, d.field, 22);
        for (const double v : {static_cast<double>(va), static_cast<double>(vb),
                               static_cast<double>(vb) - static_cast<double>(va)})
            dims += FormatColumnFigure(buf, v, 12, 5, style.digits);
        dims += '\n';
    }
    if (dims.empty()) {
        out += "The dimensions are the same.\n";
    } else {
        AppendPadded(out, "dimension", 22);
        for (const std::string_view h : {"A", "B", "B - A"}) {
            out.append(12 - h.size(), ' ');
            out += h;
        }
        out += '\n' + dims;
    }
    constexpr std::size_t kLabel = 24;
    for (std::size_t i = 0; i < ea.size(); ++i) {
        out += "\nOffset ";
        out += FormatShortest(buf, atA[i].offset);
        out += " from mid gear: A at ";
        out += FormatFigure(buf, ea[i].position, 0, 6, style.digits);
        out += ea[i].forward ? " forward" : " in reverse";
        out += ", B at ";
        out += FormatFigure(buf, eb[i].position, 0, 6, style.digits);
        out += eb[i].forward ? " forward\n" : " in reverse\n";
        AppendPadded(out, "figure (unit)", kLabel);
        for (const std::string_view h :
             {"front A", "front B", "B - A", "rear A", "rear B", "B - A", "F-R of A", "F-R of B"}) {
            out.append(13 - h.size(), ' ');
            out += h;
        }
        out += '\n';
        for (const Figure& f : kFigures) {
            AppendPadded(out, IsLength(f) && style.unit != LengthUnit::None
                                  ? std::string(f.name) + " (" + std::string(LengthUnitSymbol(style.unit)) + ")"
                                  : std::string(f.name) + (f.unit.empty() ? "" : " (" + std::string(f.unit) + ")"),
                         kLabel);
            for (const bool rear : {false, true}) {
                const auto va = f.of(ea[i], rear), vb = f.of(eb[i], rear);
                out += ' ';
                AppendValue(out, va, f.decimals, 12, style.digits);
                out += ' ';
                AppendValue(out, vb, f.decimals, 12, style.digits);
                out += ' ';
                AppendValue(out, Difference(f, va, vb), f.decimals, 12, style.digits);
            }
            // Front minus rear of each design, as the events table gives it
            // (from the printed figures), for the figures measured alike at
            // both ends.
            for (const auto* e : {&ea[i], &eb[i]}) {
                out += ' ';
                const bool both = f.unit == "%" || f.name == "lead";
                AppendValue(out, both ? Difference(f.of(*e, true), f.of(*e, false), f.decimals, false) : std::nullopt,
                            f.decimals, 12, style.digits);
            }
            out += '\n';
        }
        // The side of dead centre each port opens on: the lead's sign alone
        // would hide that admission moved across it.
        AppendPadded(out, "admission side", kLabel);
        for (const bool rear : {false, true}) {
            const auto sa = AdmissionSide(ea[i], rear), sb = AdmissionSide(eb[i], rear);
            for (const std::string_view t :
                 {SideText(sa), SideText(sb), std::string_view(sa && sb && *sa != *sb ? "changed" : "")}) {
                out.append(13 - t.size(), ' ');
                out += t;
            }
        }
        out += '\n';
    }
    return ctx.WriteThen(out, status);
}

} // namespace vx::cli
