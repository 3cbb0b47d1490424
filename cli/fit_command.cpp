#include "cli/fit_command.h"

#include <cerrno>
#include <fstream>
#include <iterator>
#include <memory>

#include "cli/field_reader.h"
#include "cli/option_values.h"
#include "cli/output_path.h"
#include "cli/text_io.h"
#include "data/dimension_file.h"
#include "data/measurement_file.h"
#include "model/analysis/valve_fit_text.h"
#include "model/gear/dimensions.h"
#include "platform/safe_file.h"

namespace vx::cli {
namespace {

bool Fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

// A list of dimension fields, each a dimension the search can vary, none twice.
bool ReadFields(std::string_view option, const std::string& text, std::vector<int>& ids, std::string& error) {
    if (text.empty()) return Fail(error, std::string(option) + " needs a list of dimension fields");
    for (const std::string& field : SplitList(text)) {
        const DimensionInfo* d = ReadField(field);
        if (!d) return Fail(error, UnknownFieldMessage(field));
        if (!IsDynamicVariable(d->id))
            return Fail(error, field + " is the reverse arm travel, which " + std::string(option) + " cannot take");
        for (const int id : ids)
            if (id == d->id) return Fail(error, std::string(option) + " lists " + field + " twice");
        ids.push_back(d->id);
    }
    return true;
}

bool ReadWeights(const std::string& text, FitWeights& w, std::string& error) {
    for (const std::string& item : SplitList(text)) {
        const auto eq = item.find('=');
        const std::string name = item.substr(0, eq);
        double* target = name == "percent" ? &w.percent : name == "deg" ? &w.degrees : name == "length" ? &w.length
                                                                                                        : nullptr;
        if (eq == std::string::npos || !target)
            return Fail(error, "--weights needs percent=W, deg=W or length=W, got " + Quote(item));
        const auto v = ParseNumber(item.substr(eq + 1));
        if (!v || !std::isfinite(*v) || !(*v > 0))
            return Fail(error, "--weights: " + name + " needs a finite number above 0, got " +
                                   Quote(item.substr(eq + 1)));
        *target = *v;
    }
    return true;
}

std::string ShownPath(const std::string& path) { return path == "-" ? "standard input" : Quote(path); }

} // namespace

bool ReadFitOptions(const Args& args, FitOptions& opt, std::string& error) {
    error.clear();
    const std::string* measured = args.Value("--measured");
    if (!measured || measured->empty()) return Fail(error, "--measured FILE is required (the measured events)");
    opt.measuredPath = *measured;
    std::vector<int> vary;
    for (const std::string& value : args.Values("--vary"))
        if (!ReadFields("--vary", value, vary, error)) return false;
    if (vary.empty()) vary = DefaultFitVary();
    for (const int id : vary) opt.vary.push_back({id, std::nullopt, std::nullopt});
    for (const std::string& b : args.Values("--bounds")) {
        if (b.empty()) return Fail(error, "--bounds needs FIELD=LO:HI");
        if (!ReadBoundsOption(b, opt.vary, error)) return false;
    }
    for (const std::string& value : args.Values("--adjust")) {
        opt.adjustGiven = true;
        if (value == "none") continue;
        if (!ReadFields("--adjust", value, opt.adjust, error)) return false;
    }
    if (!opt.adjustGiven) opt.adjust = DefaultFitAdjust();
    for (const std::string& value : args.Values("--weights")) {
        if (value.empty()) return Fail(error, "--weights needs NAME=W,...");
        if (!ReadWeights(value, opt.weights, error)) return false;
    }
    if (const std::string* value = args.Value("--out")) {
        if (value->empty()) return Fail(error, "--out needs a file name");
        opt.outPath = *value;
    }
    if (const std::string* value = args.Value("--residuals")) {
        if (value->empty()) return Fail(error, "--residuals needs a file name");
        opt.residualsPath = *value;
    }
    if (const std::string* value = args.Value("--threads")) {
        long long n = 0;
        if (!ReadCount("--threads", *value, 1, 64, n, error)) return false;
        opt.threads = static_cast<int>(n);
    }
    opt.csv = args.Has("--csv");
    return true;
}

int ReadMeasurementFile(CommandContext& ctx, const std::string& path, std::vector<Measurement>& rows) {
    std::string text;
    if (path == "-") {
        text.assign(std::istreambuf_iterator<char>(ctx.in), std::istreambuf_iterator<char>());
    } else {
        errno = 0;
        std::ifstream f(path, std::ios::binary);
        if (!f.is_open()) return ctx.CannotRun("cannot read the measurements " + Quote(path) + ": " + ErrnoText(errno));
        text.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
        if (f.bad()) return ctx.CannotRun("cannot read the measurements " + Quote(path) + ": " + ErrnoText(errno));
    }
    MeasurementRead r = ReadMeasurements(text);
    if (!r.Ok()) return ctx.Usage("measurements " + ShownPath(path) + ": " + r.error);
    rows = std::move(r.rows);
    return kExitOk;
}

int RunFitCommand(CommandContext& ctx, const FitOptions& opt) {
    for (const std::string* path : {&opt.outPath, &opt.residualsPath})
        if (!path->empty())
            if (const std::string why = OutputPathProblem(*path); !why.empty())
                return ctx.CannotRun("cannot write " + Quote(*path) + ": " + why);
    ValveFitProblem problem;
    if (const int code = ReadMeasurementFile(ctx, opt.measuredPath, problem.measurements); code != kExitOk)
        return code;
    GearState* design = ctx.ValidDesign();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    for (const BalanceOptions::Vary& v : opt.vary) {
        FitDimension d = DefaultFitDimension(g, v.id);
        if (v.lower) d.lower = *v.lower;
        if (v.upper) d.upper = *v.upper;
        problem.vary.push_back(d);
    }
    problem.weights = opt.weights;
    problem.threads = opt.threads;
    if (const std::string why = CheckValveFit(g, problem); !why.empty())
        return ctx.Usage("measurements " + ShownPath(opt.measuredPath) + ": " + why);

    const ValveFitResult r = FitValveSetting(g, problem);
    if (!r.Ok()) return ctx.Usage(r.error);
    if (!r.closes)
        return ctx.Fault("the design does not close at every measured position: nothing to fit from");

    std::string text;
    std::unique_ptr<GearState> fitted;
    if (opt.csv) {
        text = FitCsv(r);
    } else {
        AppendFitText(text, problem, r);
        if (!opt.adjust.empty()) {
            fitted = std::make_unique<GearState>(g);
            CommitFit(*fitted, r);
            const BalanceResult c = BalanceEvents(*fitted, CorrectionProblem(*fitted, problem, opt.adjust));
            text += '\n';
            if (c.Ok())
                AppendCorrectionsText(text, c);
            else
                text += "Corrections: " + c.error + "\n";
        }
    }
    if (!ctx.Write(text)) return kExitCannotRun;
    if (!opt.residualsPath.empty()) {
        const std::string csv = FitResidualsCsv(problem, r);
        const std::string why = ReplaceFileContents(opt.residualsPath, reinterpret_cast<const std::uint8_t*>(csv.data()),
                                                    csv.size());
        if (!why.empty()) return ctx.CannotRun("cannot write " + Quote(opt.residualsPath) + ": " + why);
    }
    if (!opt.outPath.empty()) {
        if (!fitted) {
            fitted = std::make_unique<GearState>(g);
            CommitFit(*fitted, r);
        }
        const FileResult saved = SaveDesign(*fitted, opt.outPath);
        if (!saved.ok) return ctx.CannotRun(Clause(saved.error));
    }
    if (!r.notProduced.empty())
        return ctx.Fault(std::to_string(r.notProduced.size()) +
                         " measured event(s) the fitted design does not produce (listed above)");
    return kExitOk;
}

} // namespace vx::cli
