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
            error = "pivots: " + Quote(word) + " is not a pivot number (0.." + std::to_string(kPivotCount - 1) + ")";
            return false;
        }
        if (count == kPickSlots) {
            error = "pivots: at most " + std::to_string(kPickSlots) + " pivots";
            return false;
        }
        picks[static_cast<std::size_t>(count++)] = static_cast<int>(*v);
        if (comma == std::string::npos) break;
        start = comma + 1;
    }
    return true;
}

} // namespace

bool ParsePivotsOptions(const std::vector<std::string>& args, PivotsOptions& opt, std::string& error) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> value;
        if (args[i] == "--csv") {
            opt.csv = true;
            continue;
        }
        if (TakeOption(args, i, "--pivots", value)) {
            if (!value) {
                error = "pivots: --pivots needs a list such as 2,3,8";
                return false;
            }
            if (!ParsePivotList(*value, opt.pivots, error)) return false;
            continue;
        }
        double* target = nullptr;
        std::string name;
        if (TakeOption(args, i, "--step", value)) {
            target = &opt.step;
            name = "--step";
        } else if (TakeOption(args, i, "--revarm", value)) {
            target = &opt.revArmOffset;
            name = "--revarm";
        } else {
            error = "pivots: unknown option " + Quote(args[i]);
            return false;
        }
        const auto v = value ? ParseNumber(*value) : std::nullopt;
        if (!v || !std::isfinite(*v)) {
            error = "pivots: " + name + " needs a finite number";
            return false;
        }
        *target = *v;
    }
    if (!(opt.step >= 0.01 && opt.step <= 360)) {
        error = "pivots: --step must lie between 0.01 and 360";
        return false;
    }
    return true;
}

int RunPivots(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    PivotsOptions opt;
    std::string error;
    if (!ParsePivotsOptions(args, opt, error)) {
        err << "vexlin-cli: " << error << "\n";
        return 2;
    }
    g.motion.reverseArmPosition = ToModelFloat(static_cast<double>(g.revArm.centre) + opt.revArmOffset);
    g.motion.selectedStep = ToModelFloat(opt.step);
    std::string text;
    if (opt.csv) {
        BuildPivotCsv(g, opt.pivots, text);
    } else {
        const SystemClock clock;
        BuildPivotTable(g, opt.pivots, clock.ShortDate(), clock.LongTime(), text);
    }
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (!out) {
        err << "vexlin-cli: pivots: cannot write the output\n";
        return 1;
    }
    return 0;
}

} // namespace vx::cli
