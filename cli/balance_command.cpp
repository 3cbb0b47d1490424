#include "cli/balance_command.h"

#include <cmath>
#include <limits>
#include <string_view>

#include "cli/option_values.h"
#include "cli/output_path.h"
#include "cli/field_reader.h"
#include "cli/text_io.h"
#include "model/gear/reverse_arm.h"
#include "data/dimension_file.h"
#include "model/gear/dimensions.h"
#include "base/fixed_format.h"
#include "model/analysis/valve_events_text.h"
#include "model/analysis/valve_fit_text.h"

namespace vx::cli {
namespace {

bool Fail(std::string& error, const std::string& message) {
    error = message;
    return false;
}

const DimensionInfo* Field(const std::string& name, std::string& error) {
    const DimensionInfo* d = ReadField(name);
    if (!d) Fail(error, UnknownFieldMessage(name));
    return d;
}

// A finite bound, as the model will hold it.
bool ReadBound(const std::string& text, const std::string& field, float& v, std::string& error) {
    const auto n = ParseNumber(text);
    if (!n || !std::isfinite(*n) || !std::isfinite(ToModelFloat(*n)))
        return Fail(error, "--bounds: not a finite number: " + Quote(text) + " (for " + field + ")");
    v = ToModelFloat(*n);
    return true;
}

} // namespace

bool ReadBoundsOption(const std::string& text, std::vector<BalanceOptions::Vary>& vary, std::string& error) {
    for (const std::string& item : SplitList(text)) {
        const auto eq = item.find('=');
        const auto colon = item.find(':', eq == std::string::npos ? 0 : eq);
        if (eq == std::string::npos || colon == std::string::npos)
            return Fail(error, "--bounds needs FIELD=LO:HI, got " + Quote(item));
        const std::string field = item.substr(0, eq);
        const DimensionInfo* d = Field(field, error);
        if (!d) return false;
        BalanceOptions::Vary* named = nullptr;
        for (BalanceOptions::Vary& v : vary)
            if (v.id == d->id) named = &v;
        if (!named) return Fail(error, "--bounds names " + field + ", which --vary does not list");
        float lo = 0, hi = 0;
        if (!ReadBound(item.substr(eq + 1, colon - eq - 1), field, lo, error)) return false;
        if (!ReadBound(item.substr(colon + 1), field, hi, error)) return false;
        if (lo > hi) {
            char a[kNumberBuffer], b[kNumberBuffer];
            return Fail(error, "--bounds: " + field + " has its lower bound " + std::string(FormatGeneral9(a, lo)) +
                                   " above its upper bound " + std::string(FormatGeneral9(b, hi)));
        }
        named->lower = lo;
        named->upper = hi;
    }
    return true;
}

namespace {

bool ReadWeights(const std::string& text, BalanceWeights& w, std::string& error) {
    for (const std::string& item : SplitList(text)) {
        const auto eq = item.find('=');
        const std::string name = item.substr(0, eq);
        double* target = name == "cutoff"        ? &w.cutOff
                         : name == "lead"        ? &w.lead
                         : name == "release"     ? &w.release
                         : name == "compression" ? &w.compression
                         : name == "work"        ? &w.work
                                                 : nullptr;
        if (eq == std::string::npos || !target)
            return Fail(error, "--weights needs cutoff=W, lead=W, release=W or compression=W (or work=W), got " +
                                   Quote(item));
        const auto v = ParseNumber(item.substr(eq + 1));
        if (!v || !std::isfinite(*v) || *v < 0)
            return Fail(error,
                        "--weights: " + name + " needs a finite number not below 0, got " + Quote(item.substr(eq + 1)));
        *target = *v;
    }
    return true;
}

bool ReadPositions(const std::string& text, std::vector<double>& list, std::string& error) {
    if (!ReadOffsets(text, std::numeric_limits<std::size_t>::max(), list, error)) return false;
    if (list.empty()) return Fail(error, "--positions needs at least one offset");
    return true;
}

void AppendPadded(std::string& buf, std::string_view text, std::size_t width) {
    buf += text;
    if (text.size() < width) buf.append(width - text.size(), ' ');
}

} // namespace

bool ReadBalanceOptions(const Args& args, BalanceOptions& opt, std::string& error) {
    error.clear();
    for (const std::string& value : args.Values("--vary")) {
        if (value.empty()) return Fail(error, "--vary needs a list of dimension fields");
        for (const std::string& field : SplitList(value)) {
            const DimensionInfo* d = Field(field, error);
            if (!d) return false;
            if (!IsDynamicVariable(d->id))
                return Fail(error, field + " is the reverse arm travel, which balance cannot vary");
            for (const BalanceOptions::Vary& v : opt.vary)
                if (v.id == d->id) return Fail(error, "--vary lists " + field + " twice");
            opt.vary.push_back({d->id, std::nullopt, std::nullopt});
        }
    }
    if (const std::string* value = args.Value("--positions")) {
        std::vector<double> list;
        if (!ReadPositions(*value, list, error)) return false;
        opt.positions = std::move(list);
    }
    if (const std::string* value = args.Value("--direction"))
        if (!ReadDirection(*value, opt.direction, error)) return false;
    for (const std::string& value : args.Values("--weights")) {
        if (value.empty()) return Fail(error, "--weights needs NAME=W,...");
        if (!ReadWeights(value, opt.weights, error)) return false;
    }
    if (const std::string* value = args.Value("--max-evals")) {
        const auto v = ParseNumber(*value);
        if (!v || !(*v >= 1 && *v <= 1'000'000) || *v != std::floor(*v))
            return Fail(error, "--max-evals needs a whole number of evaluations from 1 to 1000000, got " +
                                   Quote(*value));
        opt.maxEvaluations = static_cast<int>(*v);
    }
    if (const std::string* value = args.Value("--save")) {
        if (value->empty()) return Fail(error, "--save needs a file name");
        opt.savePath = *value;
    }
    opt.csv = args.Has("--csv");
    // One table per stream, so that a CSV reader takes it.
    if (const std::string* table = args.Value("--table")) {
        if (*table != "dims" && *table != "events")
            return Fail(error, "--table needs dims or events, got " + Quote(*table));
        if (!opt.csv) return Fail(error, "--table goes with --csv");
        opt.eventsTable = *table == "events";
    }
    if (!ReadAnalysisChoices(args, opt.choices, error)) return false;
    if (opt.vary.empty()) return Fail(error, "--vary FIELD,... is required (the dimensions to vary)");
    for (const std::string& b : args.Values("--bounds")) {
        if (b.empty()) return Fail(error, "--bounds needs FIELD=LO:HI");
        if (!ReadBoundsOption(b, opt.vary, error)) return false;
    }
    const BalanceWeights& w = opt.weights;
    if (w.cutOff == 0 && w.lead == 0 && w.release == 0 && w.compression == 0 && w.work == 0)
        return Fail(error, "--weights: every weight is 0, so there is nothing to balance");
    return true;
}

BalanceProblem MakeBalanceProblem(const GearState& g, const BalanceOptions& opt) {
    BalanceProblem p = DefaultBalanceProblem(g);
    for (const BalanceOptions::Vary& v : opt.vary) {
        BalanceBound b = DefaultBalanceBound(g, v.id);
        if (v.lower) b.lower = *v.lower;
        if (v.upper) b.upper = *v.upper;
        p.vary.push_back(b);
    }
    if (opt.positions) p.positions = *opt.positions;
    p.direction = opt.direction;
    p.weights = opt.weights;
    p.maxEvaluations = opt.maxEvaluations;
    p.solve = opt.choices.solve;
    return p;
}

namespace {
int Finish(CommandContext& ctx, const std::string& buf, const BalanceResult& r, const BalanceOptions& opt,
           GearState& g);
} // namespace

int RunBalanceCommand(CommandContext& ctx, const BalanceOptions& opt) {
    // A file that cannot be written is said before the search, not after.
    if (!opt.savePath.empty())
        if (const std::string why = OutputPathProblem(opt.savePath); !why.empty())
            return ctx.CannotRun("cannot save design " + Quote(opt.savePath) + ": " + why);
    GearState* design = ctx.ValidDesign();
    if (!design) return ctx.DesignExitCode();
    GearState& g = *design;
    const BalanceProblem problem = MakeBalanceProblem(g, opt);
    const BalanceResult r = BalanceEvents(g, problem);
    if (!r.Ok()) return ctx.Usage(r.error);

    std::string buf;
    if (opt.csv) {
        // Values as the model holds them, so they paste back as --set.
        if (!opt.eventsTable) buf = "field,before,after,lower,upper\n";
        for (std::size_t i = 0; i < r.changes.size() && !opt.eventsTable; ++i) {
            const BalanceChange& c = r.changes[i];
            buf += FindDimension(c.id)->field;
            for (const float v : {c.before, c.after, problem.vary[i].lower, problem.vary[i].upper}) {
                buf += ',';
                AppendNumber(buf, v);
            }
            buf += '\n';
        }
        if (opt.eventsTable) {
            buf += "design,";
            buf += kValveEventsCsvHeader;
        }
        for (const auto* e : {&r.before, &r.after}) {
            if (!opt.eventsTable) break;
            for (const BalancePosition& p : e->positions) {
                std::string rows;
                AppendValveEventsCsv(rows, p.events, OffsetFromMidGear(p.centre, p.position));
                for (std::size_t at = 0; at < rows.size();) {
                    const std::size_t end = rows.find('\n', at);
                    buf += e == &r.before ? "before," : "after,";
                    buf.append(rows, at, end - at + 1);
                    at = end + 1;
                }
            }
        }
        return Finish(ctx, buf, r, opt, g);
    }
    buf += "dimension                   before       after       lower       upper\n";
    for (std::size_t i = 0; i < r.changes.size(); ++i) {
        const BalanceChange& c = r.changes[i];
        AppendPadded(buf, FindDimension(c.id)->field, 22);
        for (const float v : {c.before, c.after, problem.vary[i].lower, problem.vary[i].upper}) {
            char b[kNumberBuffer];
            buf += FormatColumn(b, v, 12, 5);
        }
        buf += '\n';
    }
    buf += "\nobjective                ";
    AppendFixed(buf, r.before.objective, 4);
    buf += " -> ";
    AppendFixed(buf, r.after.objective, 4);
    buf += "\nworst cut-off difference ";
    AppendFixed(buf, r.before.worstCutOffDifference, 2);
    buf += " -> ";
    AppendFixed(buf, r.after.worstCutOffDifference, 2);
    buf += " points\nworst MEP difference     ";
    AppendFixed(buf, r.before.worstMepDifference, 2);
    buf += " -> ";
    AppendFixed(buf, r.after.worstMepDifference, 2);
    buf += " (indicator cards, p1 " + std::to_string(static_cast<int>(problem.workSettings.admissionPressure)) + ")";
    buf += "\nevaluations              " + std::to_string(r.evaluations) + "\n\nBefore:\n\n";
    AppendBalanceEvents(buf, r.before, opt.choices.style);
    buf += "\nAfter:\n\n";
    AppendBalanceEvents(buf, r.after, opt.choices.style);
    return Finish(ctx, buf, r, opt, g);
}

namespace {

int Finish(CommandContext& ctx, const std::string& buf, const BalanceResult& r, const BalanceOptions& opt,
           GearState& g) {
    if (!ctx.Write(buf)) return kExitCannotRun;
    if (r.infeasible)
        return ctx.Fault("no design within the bounds closes the linkage with every event asked for at every "
                         "position; nothing changed");
    if (!opt.savePath.empty()) {
        ApplyBalance(g, r);
        const FileResult saved = SaveDesign(g, opt.savePath);
        if (!saved.ok) return ctx.CannotRun(Clause(saved.error));
    }
    return kExitOk;
}

} // namespace
} // namespace vx::cli
