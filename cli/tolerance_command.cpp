#include "cli/tolerance_command.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "cli/commands.h"
#include "cli/sensitivity_command.h"
#include "cli/text_io.h"
#include "model/dimensions.h"

namespace vx::cli {
namespace {

constexpr std::string_view kCommand = "tolerance";

bool Fail(std::string& error, const std::string& message) {
    error = std::string(kCommand) + ": " + message;
    return false;
}

// A number that is finite and not negative, as the model holds it.
bool ReadAmount(const std::optional<std::string>& text, const std::string& what, float& v, std::string& error) {
    const auto n = text ? ParseNumber(*text) : std::nullopt;
    if (!n || !std::isfinite(*n) || *n < 0 || !std::isfinite(ToModelFloat(*n)))
        return Fail(error, what + " needs a finite number not below 0, got " + (text ? Quote(*text) : "nothing"));
    v = ToModelFloat(*n);
    return true;
}

struct FieldTolerance {
    int id;
    float t;
};

} // namespace

bool ParseToleranceOptions(const std::vector<std::string>& args, ToleranceOptions& opt, std::string& error) {
    error.clear();
    ToleranceSettings& s = opt.settings;
    std::optional<float> allLengths, allAngles;
    std::vector<FieldTolerance> fields;
    bool leaveOutValve = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> value;
        if (args[i] == "--csv") {
            opt.csv = true;
            continue;
        }
        if (args[i] == "--no-valve-ports") {
            leaveOutValve = true;
            continue;
        }
        if (TakePositionsOption(args, i, kCommand, s.offsets, error)) {
            if (!error.empty()) return false;
            continue;
        }
        if (TakeOption(args, i, "--tol", value)) {
            const auto eq = value ? value->find('=') : std::string::npos;
            if (eq == std::string::npos)
                return Fail(error, "--tol needs FIELD=T, got " + (value ? Quote(*value) : std::string("nothing")));
            const std::string field = value->substr(0, eq);
            const DimensionInfo* d = FindDimensionByField(field);
            if (!d) return Fail(error, "--tol: unknown dimension field " + Quote(field) + " (\"dims\" lists them)");
            float t = 0;
            if (!ReadAmount(value->substr(eq + 1), "--tol " + field, t, error)) return false;
            fields.push_back({d->id, t});
            continue;
        }
        if (TakeOption(args, i, "--tol-all-lengths", value)) {
            float t = 0;
            if (!ReadAmount(value, "--tol-all-lengths", t, error)) return false;
            allLengths = t;
            continue;
        }
        if (TakeOption(args, i, "--tol-all-angles", value)) {
            float t = 0;
            if (!ReadAmount(value, "--tol-all-angles", t, error)) return false;
            allAngles = t;
            continue;
        }
        if (TakeOption(args, i, "--wear", value)) {
            if (!ReadAmount(value, "--wear", s.wear, error)) return false;
            continue;
        }
        if (TakeOption(args, i, "--threshold", value)) {
            if (!ReadAmount(value, "--threshold", s.threshold, error)) return false;
            continue;
        }
        long long n = 0;
        if (TakeCountOption(args, i, "--samples", kCommand, 1, kMaxToleranceSamples, n, error)) {
            if (!error.empty()) return false;
            s.samples = static_cast<int>(n);
            continue;
        }
        if (TakeCountOption(args, i, "--threads", kCommand, 0, 64, n, error)) {
            if (!error.empty()) return false;
            s.threads = static_cast<int>(n);
            continue;
        }
        if (TakeOption(args, i, "--seed", value)) {
            std::uint64_t seed = 0;
            const char* end = value ? value->data() + value->size() : nullptr;
            const auto [ptr, ec] = value ? std::from_chars(value->data(), end, seed) : std::from_chars_result{};
            if (!value || value->empty() || ec != std::errc{} || ptr != end)
                return Fail(error, "--seed needs a whole number from 0 to " +
                                       std::to_string(std::numeric_limits<std::uint64_t>::max()) + ", got " +
                                       (value ? Quote(*value) : std::string("nothing")));
            s.seed = seed;
            continue;
        }
        return Fail(error, "unknown option " + Quote(args[i]));
    }
    if (allLengths || allAngles || !fields.empty()) {
        ClearTolerances(s);
        if (allLengths) SetAllTolerances(s, false, *allLengths);
        if (allAngles) SetAllTolerances(s, true, *allAngles);
    }
    if (leaveOutValve) LeaveOutValveAndPorts(s);
    for (const FieldTolerance& f : fields) ToleranceOf(s, f.id) = f.t;
    const std::string fault = CheckToleranceSettings(s);
    if (!fault.empty()) return Fail(error, fault);
    return true;
}

int RunTolerance(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ToleranceOptions opt;
    std::string error;
    if (!ParseToleranceOptions(args, opt, error)) {
        err << "vexlin-cli: " << error << "\nTry 'vexlin-cli --help'.\n";
        return kExitUsage;
    }
    const ToleranceResult r = vx::RunTolerance(g, opt.settings);
    if (!r.error.empty()) {
        err << "vexlin-cli: tolerance: " << r.error << '\n';
        return kExitFault;
    }
    const std::string text = opt.csv ? ToleranceCsv(r) : ToleranceText(r);
    return FinishAnalysis(out, err, kCommand, text, r.positions);
}

} // namespace vx::cli
