#include "cli/sensitivity_command.h"

#include <cerrno>
#include <cstring>

#include "cli/events_command.h"
#include "cli/option_values.h"
#include "cli/field_reader.h"
#include "cli/text_io.h"
#include "model/gear/dimensions.h"
#include "model/analysis/valve_events_text.h"

namespace vx::cli {
namespace {

constexpr std::string_view kCommand = "sensitivity";

std::string FigureList() {
    std::string names;
    for (int k = 0; k < kEventFigureCount; ++k) {
        if (k > 0) names += ", ";
        names += EventFigureName(static_cast<EventFigure>(k));
    }
    return names;
}

bool ReadFields(const std::string& value, std::vector<int>& ids, std::string& error) {
    if (value.empty()) {
        error = "--fields needs a list of dimension fields";
        return false;
    }
    ids.clear();
    for (const std::string& field : SplitList(value)) {
        const DimensionInfo* d = ReadField(field);
        if (!d) {
            error = "--fields: " + UnknownFieldMessage(field);
            return false;
        }
        for (const int id : ids) {
            if (id != d->id) continue;
            error = "--fields lists " + field + " twice";
            return false;
        }
        ids.push_back(d->id);
    }
    return true;
}

bool ReadOptions(const Args& args, SensitivityOptions& opt, std::string& error) {
    SensitivitySettings& s = opt.settings;
    for (const std::string& value : args.Values("--positions"))
        if (!ReadOffsetList(value, s.offsets, error)) return false;
    for (const std::string& value : args.Values("--direction"))
        if (!ReadDirection(value, s.direction, error)) return false;
    for (const std::string& value : args.Values("--fields"))
        if (!ReadFields(value, s.ids, error)) return false;
    for (const std::string& value : args.Values("--of")) {
        const auto f = FindEventFigure(value);
        if (!f) {
            error = "--of needs one of " + FigureList() + "; got " + Quote(value);
            return false;
        }
        opt.of = *f;
    }
    long long n = 0;
    for (const std::string& value : args.Values("--top")) {
        if (!ReadCount("--top", value, 1, 1000, n, error)) return false;
        opt.top = static_cast<int>(n);
    }
    for (const std::string& value : args.Values("--threads")) {
        if (!ReadCount("--threads", value, 1, 64, n, error)) return false;
        s.threads = static_cast<int>(n);
    }
    opt.csv = args.Has("--csv");
    if (!ReadAnalysisChoices(args, opt.choices, error)) return false;
    s.solve = opt.choices.solve;
    return true;
}

} // namespace

bool ReadSensitivityOptions(const Args& args, SensitivityOptions& opt, std::string& error) {
    return ReadOptions(args, opt, error);
}

int RunSensitivityCommand(CommandContext& ctx, const SensitivityOptions& opt) {
    GearState* g = ctx.ValidDesign();
    if (!g) return ctx.DesignExitCode();
    const SensitivityResult r = ComputeSensitivity(*g, opt.settings);
    if (!r.error.empty()) {
        ctx.err << "vexlin-cli: sensitivity: " << r.error << '\n';
        return kExitFault;
    }
    const std::string text =
        opt.csv ? WithAnalysisOffsets(SensitivityCsv(r, opt.choices.style.digits), r.positions, AnalysisOffsets(*g, opt.settings.offsets))
                : SensitivityRankingText(r, opt.of, opt.top, opt.choices.style);
    return FinishAnalysis(ctx.out, ctx.err, kCommand, text, r.positions, ctx.Quiet());
}

std::vector<float> AnalysisOffsets(const GearState& g, const std::vector<double>& given) {
    EventsOptions events;
    events.haveOffsets = !given.empty();
    events.offsets = given;
    std::vector<float> offsets;
    for (const EventPosition& p : EventPositions(g, events)) offsets.push_back(p.offset);
    return offsets;
}

bool WriteAnalysisText(std::ostream& out, std::ostream& err, std::string_view command, std::string_view text) {
    errno = 0;
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
    out.flush();
    if (out) return true;
    const int e = errno;
    err << "vexlin-cli: " << command << ": cannot write the output: "
        << (e != 0 ? std::strerror(e) : "the output is closed") << '\n';
    return false;
}

void ReportOpenPosition(std::ostream& err, std::string_view command, const NominalPosition& p) {
    err << "vexlin-cli: " << command << ": " << EventsFaultText(p.nominal) << '\n';
}

} // namespace vx::cli
