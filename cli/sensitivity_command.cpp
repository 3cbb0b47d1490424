#include "cli/sensitivity_command.h"

#include <charconv>

#include "cli/commands.h"
#include "cli/events_command.h"
#include "cli/text_io.h"
#include "model/dimensions.h"
#include "model/valve_events_text.h"

namespace vx::cli {
namespace {

constexpr std::string_view kCommand = "sensitivity";

bool Fail(std::string& error, std::string_view command, const std::string& message) {
    error = std::string(command) + ": " + message;
    return false;
}

std::string FigureList() {
    std::string names;
    for (int k = 0; k < kEventFigureCount; ++k) {
        if (k > 0) names += ", ";
        names += EventFigureName(static_cast<EventFigure>(k));
    }
    return names;
}

} // namespace

bool TakePositionsOption(const std::vector<std::string>& args, std::size_t& i, std::string_view command,
                         std::vector<double>& offsets, std::string& error) {
    if (args[i] != "--positions" && !args[i].starts_with("--positions=")) return false;
    // The list is read as the events command reads it.
    std::optional<std::string> value;
    TakeOption(args, i, "--positions", value);
    if (!ReadOffsetList(value ? *value : std::string(), offsets, error)) error = std::string(command) + ": " + error;
    return true;
}

bool TakeCountOption(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
                     std::string_view command, long long lo, long long hi, long long& value, std::string& error) {
    std::optional<std::string> text;
    if (!TakeOption(args, i, name, text)) return false;
    const std::string range = std::to_string(lo) + " to " + std::to_string(hi);
    long long v = 0;
    const char* begin = text ? text->data() : nullptr;
    const char* end = text ? text->data() + text->size() : nullptr;
    const auto [ptr, ec] = std::from_chars(begin, end, v);
    if (!text || text->empty() || ec != std::errc{} || ptr != end || v < lo || v > hi) {
        Fail(error, command,
             std::string(name) + " needs a whole number from " + range + ", got " + (text ? Quote(*text) : "nothing"));
        return true;
    }
    value = v;
    return true;
}

bool ParseSensitivityOptions(const std::vector<std::string>& args, SensitivityOptions& opt, std::string& error) {
    error.clear();
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::optional<std::string> value;
        if (args[i] == "--csv") {
            opt.csv = true;
            continue;
        }
        if (TakePositionsOption(args, i, kCommand, opt.settings.offsets, error)) {
            if (!error.empty()) return false;
            continue;
        }
        if (TakeOption(args, i, "--direction", value)) {
            if (value && *value == "auto") opt.settings.direction = EventDirection::Auto;
            else if (value && *value == "forward") opt.settings.direction = EventDirection::Forward;
            else if (value && *value == "reverse") opt.settings.direction = EventDirection::Reverse;
            else return Fail(error, kCommand, "--direction needs auto, forward or reverse");
            continue;
        }
        if (TakeOption(args, i, "--fields", value)) {
            if (!value || value->empty()) return Fail(error, kCommand, "--fields needs a list of dimension fields");
            opt.settings.ids.clear();
            for (const std::string& field : SplitList(*value)) {
                const DimensionInfo* d = FindDimensionByField(field);
                if (!d) return Fail(error, kCommand, "unknown dimension field " + Quote(field) + " (\"dims\" lists them)");
                for (const int id : opt.settings.ids)
                    if (id == d->id) return Fail(error, kCommand, "--fields lists " + field + " twice");
                opt.settings.ids.push_back(d->id);
            }
            continue;
        }
        if (TakeOption(args, i, "--of", value)) {
            const auto f = value ? FindEventFigure(*value) : std::nullopt;
            if (!f)
                return Fail(error, kCommand,
                            "--of needs one of " + FigureList() + "; got " + (value ? Quote(*value) : "nothing"));
            opt.of = *f;
            continue;
        }
        long long n = 0;
        if (TakeCountOption(args, i, "--top", kCommand, 1, 1000, n, error)) {
            if (!error.empty()) return false;
            opt.top = static_cast<int>(n);
            continue;
        }
        if (TakeCountOption(args, i, "--threads", kCommand, 0, 64, n, error)) {
            if (!error.empty()) return false;
            opt.settings.threads = static_cast<int>(n);
            continue;
        }
        return Fail(error, kCommand, "unknown option " + Quote(args[i]));
    }
    return true;
}

int RunSensitivity(GearState& g, const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    SensitivityOptions opt;
    std::string error;
    if (!ParseSensitivityOptions(args, opt, error)) {
        err << "vexlin-cli: " << error << "\nTry 'vexlin-cli --help'.\n";
        return kExitUsage;
    }
    const SensitivityResult r = ComputeSensitivity(g, opt.settings);
    if (!r.error.empty()) {
        err << "vexlin-cli: sensitivity: " << r.error << '\n';
        return kExitFault;
    }
    const std::string text = opt.csv ? SensitivityCsv(r) : SensitivityRankingText(r, opt.of, opt.top);
    return FinishAnalysis(out, err, kCommand, text, r.positions);
}

bool WriteAnalysisText(std::ostream& out, std::ostream& err, std::string_view command, std::string_view text) {
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (out) return true;
    err << "vexlin-cli: " << command << ": cannot write the output\n";
    return false;
}

void ReportOpenPosition(std::ostream& err, std::string_view command, const NominalPosition& p) {
    err << "vexlin-cli: " << command << ": " << ValveEventsErrorText(p.nominal) << '\n';
}

} // namespace vx::cli
