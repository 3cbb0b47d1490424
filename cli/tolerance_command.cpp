#include "cli/tolerance_command.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "cli/option_values.h"
#include "cli/sensitivity_command.h"
#include "cli/field_reader.h"
#include "cli/text_io.h"
#include "model/gear/dimensions.h"

namespace vx::cli {
namespace {

constexpr std::string_view kCommand = "tolerance";

// A number that is finite and not negative, as the model holds it.
bool ReadAmount(const std::string& text, const std::string& what, float& v, std::string& error) {
    const auto n = ParseNumber(text);
    if (!n || !std::isfinite(*n) || *n < 0 || !std::isfinite(ToModelFloat(*n))) {
        error = what + " needs a finite number not below 0, got " + Quote(text);
        return false;
    }
    v = ToModelFloat(*n);
    return true;
}

struct FieldTolerance {
    int id;
    float t;
};

bool ReadFieldTolerance(const std::string& value, std::vector<FieldTolerance>& fields, std::string& error) {
    const auto eq = value.find('=');
    if (eq == std::string::npos) {
        error = "--tol needs FIELD=T, got " + Quote(value);
        return false;
    }
    const std::string field = value.substr(0, eq);
    const DimensionInfo* d = ReadField(field);
    if (!d) {
        error = "--tol: " + UnknownFieldMessage(field);
        return false;
    }
    float t = 0;
    if (!ReadAmount(value.substr(eq + 1), "--tol " + field, t, error)) return false;
    fields.push_back({d->id, t});
    return true;
}

bool ReadSeed(const std::string& value, std::uint64_t& seed, std::string& error) {
    const char* end = value.data() + value.size();
    const auto [ptr, ec] = std::from_chars(value.data(), end, seed);
    if (value.empty() || ec != std::errc{} || ptr != end) {
        error = "--seed needs a whole number from 0 to " + std::to_string(std::numeric_limits<std::uint64_t>::max()) +
                ", got " + Quote(value);
        return false;
    }
    return true;
}

// The last of an option's amounts, each checked.
bool ReadAmounts(const Args& args, std::string_view name, std::optional<float>& target, std::string& error) {
    for (const std::string& value : args.Values(name)) {
        float t = 0;
        if (!ReadAmount(value, std::string(name), t, error)) return false;
        target = t;
    }
    return true;
}

bool ReadOptions(const Args& args, ToleranceOptions& opt, std::string& error) {
    ToleranceSettings& s = opt.settings;
    for (const std::string& value : args.Values("--positions")) {
        opt.defaultPositions = false;
        // "notches": the nine notches (the settings' empty list).
        if (value == "notches") s.offsets.clear();
        else if (!ReadOffsetList(value, s.offsets, error)) return false;
    }
    std::vector<FieldTolerance> fields;
    for (const std::string& value : args.Values("--tol"))
        if (!ReadFieldTolerance(value, fields, error)) return false;
    std::optional<float> allLengths, allAngles, wear, threshold;
    if (!ReadAmounts(args, "--tol-all-lengths", allLengths, error) ||
        !ReadAmounts(args, "--tol-all-angles", allAngles, error) || !ReadAmounts(args, "--wear", wear, error))
        return false;
    long long n = 0;
    for (const std::string& value : args.Values("--samples")) {
        if (!ReadCount("--samples", value, 1, kMaxToleranceSamples, n, error)) return false;
        s.samples = static_cast<int>(n);
    }
    for (const std::string& value : args.Values("--seed"))
        if (!ReadSeed(value, s.seed, error)) return false;
    if (!ReadAmounts(args, "--threshold", threshold, error)) return false;
    for (const std::string& value : args.Values("--threads")) {
        if (!ReadCount("--threads", value, 1, 64, n, error)) return false;
        s.threads = static_cast<int>(n);
    }
    opt.csv = args.Has("--csv");
    if (!ReadAnalysisChoices(args, opt.choices, error)) return false;
    s.solve = opt.choices.solve;

    if (wear) s.wear = *wear;
    if (threshold) s.threshold = *threshold;
    if (allLengths || allAngles || !fields.empty()) {
        ClearTolerances(s);
        if (allLengths) SetAllTolerances(s, false, *allLengths);
        if (allAngles) SetAllTolerances(s, true, *allAngles);
    }
    if (args.Has("--no-valve-ports")) LeaveOutValveAndPorts(s);
    for (const FieldTolerance& f : fields) ToleranceOf(s, f.id) = f.t;
    error = CheckToleranceSettings(s);
    return error.empty();
}

} // namespace

bool ReadToleranceOptions(const Args& args, ToleranceOptions& opt, std::string& error) {
    return ReadOptions(args, opt, error);
}

int RunToleranceCommand(CommandContext& ctx, const ToleranceOptions& opt) {
    GearState* g = ctx.ValidDesign();
    if (!g) return ctx.DesignExitCode();
    ToleranceSettings settings = opt.settings;
    if (opt.defaultPositions) {
        const double norm = g->frame.revArmToCentNorm;
        settings.offsets = {-norm, -norm / 2, norm / 2, norm};
    }
    const ToleranceResult r = RunTolerance(*g, settings);
    if (!r.error.empty()) {
        ctx.err << "vexlin-cli: tolerance: " << r.error << '\n';
        return kExitFault;
    }
    const std::string text =
        opt.csv ? WithAnalysisOffsets(ToleranceCsv(r, opt.choices.style.digits), r.positions, AnalysisOffsets(*g, settings.offsets))
                : ToleranceText(r, opt.choices.style);
    return FinishAnalysis(ctx.out, ctx.err, kCommand, text, r.positions, ctx.Quiet());
}

} // namespace vx::cli
