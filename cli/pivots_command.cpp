#include "cli/pivots_command.h"

#include <algorithm>
#include <cmath>

#include "cli/text_io.h"
#include "model/gear/reverse_arm.h"
#include "platform/clock.h"

namespace vx::cli {
namespace {

constexpr std::string_view kRoles[kPivotCount] = {
    "frame origin mark",
    "driving axle centre (the world origin)",
    "crank pin",
    "crosshead",
    "valve spindle pin",
    "rocker lower end (radius rod front end)",
    "expansion link upper end",
    "expansion link lower end",
    "radius rod die pin",
    "expansion link centre",
    "forward eccentric rod pin at the link",
    "reverse eccentric rod pin at the link",
    "forward eccentric centre",
    "reverse eccentric centre",
    "link lifting-link pin",
    "lift arm end on the link side",
    "reverse and lift shaft",
    "lift arm end on the radius rod side",
    "reverse arm end",
    "reference point 1",
    "reference point 2",
    "rod attachment point on the forward eccentric sheave",
    "rod attachment point on the reverse eccentric sheave",
    "link-side point of the forward eccentric rod pin",
    "link-side point of the reverse eccentric rod pin",
    "link support point",
    "radius rod tail",
    "rocker pivot",
    "rocker upper arm",
    "rocker upper pin",
    "",
};

bool ParsePivotList(const std::string& text, std::vector<int>& pivots, std::string& error) {
    pivots.clear();
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string word = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const auto v = ParseNumber(word);
        if (!v || *v != std::floor(*v) || *v < 0 || *v >= kPivotCount) {
            error = "--pivots: " + Quote(word) + " is not a pivot number (0.." + std::to_string(kPivotCount - 1) +
                    "; \"pivots --list\" lists them)";
            return false;
        }
        if (pivots.size() == static_cast<std::size_t>(kPickSlots)) {
            error = "--pivots: at most " + std::to_string(kPickSlots) + " pivots";
            return false;
        }
        const int n = static_cast<int>(*v);
        if (std::find(pivots.begin(), pivots.end(), n) != pivots.end()) {
            error = "--pivots lists " + std::to_string(n) + " twice";
            return false;
        }
        pivots.push_back(n);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

} // namespace

std::string_view PivotRole(int n) { return n >= 0 && n < kPivotCount ? kRoles[n] : std::string_view{}; }

std::string PivotListCsv() {
    std::string out = "pivot,role\n";
    for (int n = 0; n < kPivotCount; ++n) {
        out += std::to_string(n);
        out += ',';
        AppendCsvField(out, PivotRole(n).empty() ? "(no role)" : PivotRole(n));
        out += '\n';
    }
    return out;
}

bool ReadPivotsOptions(const Args& args, PivotsOptions& opt, std::string& error) {
    opt.csv = args.Has("--csv");
    opt.list = args.Has("--list");
    if (const std::string* value = args.Value("--pivots"))
        if (!ParsePivotList(*value, opt.pivots, error)) return false;
    for (const std::string_view name : {"--step", "--revarm"}) {
        double* target = name == "--step" ? &opt.step : &opt.revArmOffset;
        const std::string* value = args.Value(name);
        if (!value) continue;
        const auto v = ParseNumber(*value);
        if (!v || !std::isfinite(*v)) {
            error = std::string(name) + " needs a finite number";
            return false;
        }
        *target = *v;
    }
    if (!(opt.step >= 0.01 && opt.step <= 360)) {
        error = "--step must lie between 0.01 and 360";
        return false;
    }
    return true;
}

int RunPivotsCommand(CommandContext& ctx, const PivotsOptions& opt) {
    if (opt.list) return ctx.WriteThen(PivotListCsv(), kExitOk);
    GearState* design = ctx.ValidDesign();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    g.motion.reverseArmPosition = ReverseArmAtOffset(g, opt.revArmOffset);
    g.motion.selectedStep = ToModelFloat(opt.step);
    std::string text;
    if (opt.csv) {
        BuildPivotCsv(g, opt.pivots, text);
    } else {
        PivotPicks picks{};
        std::copy(opt.pivots.begin(), opt.pivots.end(), picks.begin());
        const SystemClock clock;
        BuildPivotTable(g, picks, clock.ShortDate(), clock.LongTime(), text);
    }
    return ctx.WriteThen(text, kExitOk);
}

} // namespace vx::cli
