#include "cli/pivots_command.h"

#include <cmath>
#include <optional>

#include "cli/text_io.h"
#include "platform/clock.h"

namespace vx::cli {
namespace {

bool ParsePivotList(const std::string& text, PivotPicks& picks, std::string& error) {
    picks = {};
    std::size_t start = 0;
    int count = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        const std::string word = text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        const auto v = ParseNumber(word);
        if (!v || *v != std::floor(*v) || *v < 0 || *v >= kPivotCount) {
            error = Quote(word) + " is not a pivot number (0.." + std::to_string(kPivotCount - 1) + ")";
            return false;
        }
        if (count == kPickSlots) {
            error = "--pivots: at most " + std::to_string(kPickSlots) + " pivots";
            return false;
        }
        picks[static_cast<std::size_t>(count++)] = static_cast<int>(*v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

} // namespace

bool ReadPivotsOptions(const Args& args, PivotsOptions& opt, std::string& error) {
    opt.csv = args.Has("--csv");
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

int RunPivotsCommand(CommandContext& ctx) {
    PivotsOptions opt;
    std::string error;
    if (!ReadPivotsOptions(ctx.args, opt, error)) return ctx.Usage(error);
    GearState* design = ctx.Design();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    g.motion.reverseArmPosition = ToModelFloat(static_cast<double>(g.revArm.centre) + opt.revArmOffset);
    g.motion.selectedStep = ToModelFloat(opt.step);
    std::string text;
    if (opt.csv) {
        BuildPivotCsv(g, opt.pivots, text);
    } else {
        const SystemClock clock;
        BuildPivotTable(g, opt.pivots, clock.ShortDate(), clock.LongTime(), text);
    }
    return ctx.WriteThen(text, kExitOk);
}

} // namespace vx::cli
