#include "cli/compare_command.h"

#include <bit>
#include <cstdint>
#include <memory>
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
    {"admissionAngle", 4, &Event<&EndEvents::admissionAngle>},
    {"cutOffAngle", 4, &Event<&EndEvents::cutOffAngle>},
    {"releaseAngle", 4, &Event<&EndEvents::releaseAngle>},
    {"compressionAngle", 4, &Event<&EndEvents::compressionAngle>},
    {"admission", 4, &Event<&EndEvents::admission>},
    {"cutOff", 4, &Event<&EndEvents::cutOff>},
    {"release", 4, &Event<&EndEvents::release>},
    {"compression", 4, &Event<&EndEvents::compression>},
    {"lead", 5, &Length<&EndEvents::lead>},
    {"maxSteamOpening", 5, &Length<&EndEvents::maxSteamOpening>},
    {"maxExhaustOpening", 5, &Length<&EndEvents::maxExhaustOpening>},
    {"valveTravel", 5, [](const PositionEvents& e, bool) { return std::optional<double>(e.valveTravel); }},
    {"dieSlip", 5, [](const PositionEvents& e, bool) { return std::optional<double>(e.dieSlip); }},
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

std::optional<double> Difference(const std::optional<double>& a, const std::optional<double>& b) {
    if (!a || !b) return std::nullopt;
    return *b - *a;
}

void AppendPadded(std::string& out, std::string_view text, std::size_t width) {
    out += text;
    if (text.size() < width) out.append(width - text.size(), ' ');
}

} // namespace

bool ReadCompareOptions(const Args& args, CompareOptions& opt, std::string& error) {
    if (!ReadEventsOptions(args, opt.events, error)) return false;
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
    const std::unique_ptr<GearState> a = ctx.OpenDesignAt(options.pathA, code);
    if (!a) return code;
    const std::unique_ptr<GearState> b = ctx.OpenDesignAt(options.pathB, code);
    if (!b) return code;
    if (const int gateA = ctx.GateDesign(*a), gateB = ctx.GateDesign(*b); gateA != kExitOk || gateB != kExitOk)
        return kExitFault;

    const std::vector<EventPosition> atA = EventPositions(*a, opt), atB = EventPositions(*b, opt);
    const std::vector<PositionEvents> ea = ComputeEvents(*a, atA, opt.direction, opt.choices.solve);
    const std::vector<PositionEvents> eb = ComputeEvents(*b, atB, opt.direction, opt.choices.solve);

    std::string out;
    char buf[kNumberBuffer];
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
                    for (const auto& v : {va, vb, Difference(va, vb)}) {
                        out += ',';
                        AppendValue(out, v, f.decimals, 0, style.digits);
                    }
                    out += '\n';
                }
    } else {
        out = "A: " + options.pathA + "\nB: " + options.pathB + "\n\n";
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
        for (std::size_t i = 0; i < ea.size(); ++i) {
            out += "\nOffset ";
            out += FormatShortest(buf, atA[i].offset);
            out += " from mid gear: A at ";
            out += FormatFigure(buf, ea[i].position, 0, 6, style.digits);
            out += ea[i].forward ? " forward" : " in reverse";
            out += ", B at ";
            out += FormatFigure(buf, eb[i].position, 0, 6, style.digits);
            out += eb[i].forward ? " forward\n" : " in reverse\n";
            AppendPadded(out, "", 20);
            for (const std::string_view h : {"front A", "front B", "B - A", "rear A", "rear B", "B - A"}) {
                out.append(12 - h.size(), ' ');
                out += h;
            }
            out += '\n';
            for (const Figure& f : kFigures) {
                AppendPadded(out, IsLength(f) ? LabelWithUnit(f.name, style.unit) : std::string(f.name), 20);
                for (const bool rear : {false, true}) {
                    const auto va = f.of(ea[i], rear), vb = f.of(eb[i], rear);
                    AppendValue(out, va, f.decimals, 12, style.digits);
                    AppendValue(out, vb, f.decimals, 12, style.digits);
                    AppendValue(out, Difference(va, vb), f.decimals, 12, style.digits);
                }
                out += '\n';
            }
        }
    }
    if (!ctx.Write(out)) return kExitCannotRun;
    bool sound = true;
    for (std::size_t i = 0; i < ea.size(); ++i)
        for (const auto* e : {&ea[i], &eb[i]}) {
            if (EventsSound(*e)) continue;
            sound = false;
            ctx.Note((e == &ea[i] ? "A: " : "B: ") + ValveEventsErrorText(*e));
        }
    return sound ? kExitOk : kExitFault;
}

} // namespace vx::cli
