#include "model/analysis/balance.h"

#include "base/float_cast.h"

#include <nlopt.hpp>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>
#include <optional>
#include <utility>

#include "model/workspace/dimension_edit.h"
#include "model/gear/dimensions.h"
#include "base/fixed_format.h"
#include "model/analysis/job_pool.h"
#include "model/gear/reverse_arm.h"

namespace vx {
namespace {


std::string Number(double v) {
    char buf[kNumberBuffer];
    return std::string(FormatGeneral9(buf, v));
}

// What a position costs when the linkage does not close there or an event
// the weights ask for is missing: above anything a real difference can cost
// with these weights (a cut-off difference is at most 100 points), finite.
double Penalty(const BalanceWeights& w) {
    const double sum = w.cutOff + w.lead + w.release + w.compression + w.work; // finite weights may still sum to infinity
    return kBalancePenalty * std::clamp(sum, 1.0, 1e100);
}

// The weighted squared differences of one position; false when a missing
// event makes it pay the penalty instead.
bool AddEventCost(double weight, const std::optional<double>& front, const std::optional<double>& rear, double& cost) {
    if (weight == 0) return true;
    if (!front || !rear) return false;
    const double d = static_cast<double>(*front) - static_cast<double>(*rear);
    cost += weight * d * d;
    return true;
}

// The work term: the cards' MEP front minus rear in percentage points of
// p1, squared; false when an end has no card.
bool AddWorkCost(double weight, const PositionEvents& e, const WorkSettings& s, double& cost) {
    if (weight == 0) return true;
    const IndicatorCard front = ComputeIndicatorCard(e.front, false, e.forward, s);
    const IndicatorCard rear = ComputeIndicatorCard(e.rear, true, e.forward, s);
    if (!front.hasCard || !rear.hasCard) return false;
    const double d = 100.0 * (static_cast<double>(front.mepRatio) - static_cast<double>(rear.mepRatio));
    cost += weight * d * d;
    return true;
}

// The cost of a position, and whether it counts as balanced at all. Of
// `positions` positions, a balanced one costs at most half the penalty
// shared among them, so that a design with a position that pays the
// penalty always costs more than any design that balances everywhere.
double PositionCost(const PositionEvents& e, const BalanceWeights& w, const WorkSettings& s, std::size_t positions,
                    bool& ok) {
    double cost = 0;
    ok = e.Closes() && AddEventCost(w.cutOff, e.front.cutOff, e.rear.cutOff, cost) &&
         AddEventCost(w.release, e.front.release, e.rear.release, cost) &&
         AddEventCost(w.compression, e.front.compression, e.rear.compression, cost) &&
         AddEventCost(w.lead, e.front.lead, e.rear.lead, cost) && AddWorkCost(w.work, e, s, cost);
    // A design beyond reason (a value huge or not a number) must not steer
    // the search with an infinity or a NaN either.
    if (!ok || !std::isfinite(cost)) {
        ok = false;
        return Penalty(w);
    }
    return std::min(cost, Penalty(w) / (2.0 * static_cast<double>(std::max<std::size_t>(positions, 1))));
}

// The problem as the search sees it: each varied dimension's bounds, and
// the positions as offsets already limited to the travel.
struct Prepared {
    std::vector<BalanceBound> vary;
    std::vector<double> offsets;
    std::vector<int> free; // indices into vary of the dimensions with room to move
};

Prepared Prepare(const GearState& g, const BalanceProblem& p) {
    Prepared r;
    r.vary = p.vary;
    for (double o : p.positions) r.offsets.push_back(HeldOffset(g, o));
    for (std::size_t i = 0; i < r.vary.size(); ++i)
        if (r.vary[i].lower < r.vary[i].upper) r.free.push_back(static_cast<int>(i));
    return r;
}

// Evaluates values (one per varied dimension; none: the design as it is)
// on the pool, each position on its worker's own copy of the design.
class Evaluator {
public:
    Evaluator(const GearState& g, const BalanceProblem& p, const Prepared& prep)
        : base_(g), problem_(p), prep_(prep),
          pool_(JobPool::ThreadsFor(static_cast<int>(prep.offsets.size()), p.threads)),
          scratch_(static_cast<std::size_t>(pool_.Threads())) {}

    void Evaluate(const std::vector<float>* values, BalanceEvaluation& out) {
        const std::size_t n = prep_.offsets.size();
        out.positions.resize(n);
        pool_.Run(static_cast<int>(n), [&](int job, int worker) {
            GearState& s = scratch_[static_cast<std::size_t>(worker)];
            s = base_;
            if (values)
                for (std::size_t k = 0; k < prep_.vary.size(); ++k) CommitDimension(s, prep_.vary[k].id, (*values)[k]);
            BalancePosition& bp = out.positions[static_cast<std::size_t>(job)];
            const bool exact = problem_.solve == SolveMode::Exact;
            const std::optional<double> exactCentre = exact ? ExactMidGearOf(s) : std::nullopt;
            const bool found = exact ? exactCentre.has_value() : FindMidGear(s) == MidGearResult::Found;
            bp.centre = exact ? exactCentre.value_or(s.revArm.centre) : s.revArm.centre;
            if (!found) {
                bp.events = PositionEvents{};
                bp.events.failedSolves = 1;
                bp.events.firstCause = GeometryCause::MidGearSearch;
                bp.position = s.motion.reverseArmPosition;
                bp.forward = true;
                bp.cost = Penalty(problem_.weights);
                bp.balanced = false;
                return;
            }
            const double offset = prep_.offsets[static_cast<std::size_t>(job)];
            const double position = exact ? bp.centre + offset : D(F(static_cast<double>(s.revArm.centre) + offset));
            ComputeValveEvents(s, position, problem_.direction, bp.events, problem_.solve);
            bp.position = bp.events.position;
            bp.forward = bp.events.forward;
            bp.cost = PositionCost(bp.events, problem_.weights, problem_.workSettings, n, bp.balanced);
        });
        // Summed in the positions' order, whichever thread found them.
        out.objective = 0;
        out.worstCutOffDifference = 0;
        out.worstMepDifference = 0;
        out.closes = true;
        for (const BalancePosition& bp : out.positions) {
            out.objective += bp.cost;
            if (!bp.balanced) out.closes = false;
            const EndEvents& f = bp.events.front;
            const EndEvents& r = bp.events.rear;
            if (f.cutOff && r.cutOff)
                out.worstCutOffDifference =
                    std::max(out.worstCutOffDifference,
                             std::fabs(static_cast<double>(*f.cutOff) - static_cast<double>(*r.cutOff)));
            const PositionWork w = ComputeWork(bp.events, problem_.workSettings, {});
            if (const auto d = MepDifference(w))
                out.worstMepDifference = std::max(out.worstMepDifference, std::fabs(static_cast<double>(*d)));
        }
    }

private:
    const GearState& base_;
    const BalanceProblem& problem_;
    const Prepared& prep_;
    JobPool pool_;
    std::vector<GearState> scratch_;
};

// The values of the varied dimensions at a point of the unit cube of the
// free ones; the others stay at their (only) value.
std::vector<float> ValuesAt(const Prepared& prep, const std::vector<float>& start, const std::vector<double>& x) {
    std::vector<float> v = start;
    for (std::size_t k = 0; k < prep.free.size(); ++k) {
        const BalanceBound& b = prep.vary[static_cast<std::size_t>(prep.free[k])];
        const double t = std::clamp(x[k], 0.0, 1.0);
        const float value = F(static_cast<double>(b.lower) + t * (static_cast<double>(b.upper) - b.lower));
        v[static_cast<std::size_t>(prep.free[k])] = std::clamp(value, b.lower, b.upper);
    }
    return v;
}

// Radical inverse of i in the given prime base: the Halton sequence, for
// restart points spread evenly and the same on every run.
double Halton(int i, int base) {
    double f = 1, r = 0;
    for (; i > 0; i /= base) {
        f /= base;
        r += f * (i % base);
    }
    return r;
}

// The search's steps as shares of each dimension's bounds, the relative
// change of the objective that ends one local search, and the gain a
// polishing round must make for another to follow.
constexpr double kFirstStep = 0.5;
constexpr double kPolishStep = 0.05;
constexpr double kLocalRelativeTolerance = 1e-6;
constexpr double kPolishGain = 1e-3;

constexpr int kPrimes[] = {2, 3, 5, 7, 11, 13, 17, 19, 23, 29, 31, 37, 41, 43, 47, 53};

// One search's bookkeeping: the budget, the best point so far.
struct Search {
    int budget = 0;
    int evaluations = 0;
    bool cancelled = false;
    bool haveBest = false;
    std::vector<float> bestValues;
    BalanceEvaluation best;
    BalanceEvaluation scratch;
    nlopt::opt* running = nullptr;
};

double Objective(const std::vector<double>& x, std::vector<double>& /*grad*/, void* data) {
    return (*static_cast<std::function<double(const std::vector<double>&)>*>(data))(x);
}

} // namespace

std::vector<double> ForwardNotches(const GearState& g) {
    const double norm = g.frame.revArmToCentNorm;
    return {-norm, -norm * 3 / 4, -norm / 2, -norm / 4};
}

BalanceBound DefaultBalanceBound(const GearState& g, int id) {
    const DimensionInfo* d = FindDimension(id);
    if (!d) return {id, 0, 0};
    const double v = DimensionValue(g, *d);
    double half = IsAngleDimension(id) ? 3.0 : std::fabs(v) * 0.05;
    if (half == 0) half = 0.05;
    return {id, F(v - half), F(v + half)};
}

BalanceProblem DefaultBalanceProblem(const GearState& g) {
    BalanceProblem p;
    p.positions = ForwardNotches(g);
    return p;
}

std::string CheckBalanceProblem(const GearState& /*g*/, const BalanceProblem& p) {
    if (p.vary.empty()) return "choose at least one dimension to vary";
    for (std::size_t i = 0; i < p.vary.size(); ++i) {
        const BalanceBound& b = p.vary[i];
        const DimensionInfo* d = FindDimension(b.id);
        if (!d) return "there is no dimension with id " + std::to_string(b.id);
        const std::string field(d->field);
        if (!IsDynamicVariable(b.id)) return field + " is the reverse arm travel, which the search cannot vary";
        for (std::size_t j = 0; j < i; ++j)
            if (p.vary[j].id == b.id) return field + " is chosen twice";
        if (!std::isfinite(b.lower) || !std::isfinite(b.upper))
            return field + ": the bounds must be finite numbers, got " + Number(b.lower) + ":" + Number(b.upper);
        if (b.lower > b.upper)
            return field + ": the lower bound " + Number(b.lower) + " is above the upper bound " + Number(b.upper) +
                   ", so no value fits";
    }
    if (p.positions.empty()) return "choose at least one reverse arm position";
    for (double o : p.positions)
        if (!std::isfinite(o)) return "the positions must be finite numbers, got " + Number(o);
    const BalanceWeights& w = p.weights;
    for (double v : {w.cutOff, w.lead, w.release, w.compression, w.work})
        if (!std::isfinite(v) || v < 0) return "the weights must be finite and not negative, got " + Number(v);
    std::string huge;
    const std::pair<const char*, double> named[] = {
        {"cutoff", w.cutOff}, {"lead", w.lead}, {"release", w.release}, {"compression", w.compression}, {"work", w.work}};
    for (const auto& [name, v] : named)
        if (v > kMaxBalanceWeight) huge += (huge.empty() ? "" : ", ") + std::string(name) + "=" + Number(v);
    if (!huge.empty())
        return "the weights " + huge + " are too large: their weighted sum could overflow (each must be at most " +
               Number(kMaxBalanceWeight) + ")";
    if (w.cutOff == 0 && w.lead == 0 && w.release == 0 && w.compression == 0 && w.work == 0)
        return "every weight is 0: there is nothing to balance";
    if (w.work != 0)
        if (const std::string bad = CheckWorkSettings(p.workSettings); !bad.empty()) return "work: " + bad;
    if (p.maxEvaluations < 1)
        return "the evaluation budget must be at least 1, got " + std::to_string(p.maxEvaluations);
    if (!(p.tolerance > 0 && p.tolerance < 1)) return "the stopping tolerance must lie between 0 and 1";
    if (p.restarts < 0 || p.restarts > 100) return "the restarts must number 0 to 100";
    if (p.threads < 0 || p.threads > 64) return "the threads must number 0 (one per core) to 64";
    return {};
}

BalanceEvaluation EvaluateBalance(const GearState& g, const BalanceProblem& p) {
    const Prepared prep = Prepare(g, p);
    Evaluator evaluator(g, p, prep);
    BalanceEvaluation e;
    evaluator.Evaluate(nullptr, e);
    return e;
}

bool BalanceResult::Changed() const {
    return std::any_of(changes.begin(), changes.end(), [](const BalanceChange& c) {
        return std::bit_cast<std::uint32_t>(c.before) != std::bit_cast<std::uint32_t>(c.after);
    });
}

BalanceResult BalanceEvents(const GearState& g, const BalanceProblem& p, const BalanceProgressFn& progress) {
    BalanceResult result;
    result.error = CheckBalanceProblem(g, p);
    if (!result.error.empty()) return result;

    const Prepared prep = Prepare(g, p);
    Evaluator evaluator(g, p, prep);
    evaluator.Evaluate(nullptr, result.before);

    std::vector<float> start;
    for (const BalanceBound& b : prep.vary) {
        const DimensionInfo* d = FindDimension(b.id);
        const float v = DimensionValue(g, *d);
        result.changes.push_back({b.id, v, v});
        start.push_back(std::isnan(v) ? b.lower : std::clamp(v, b.lower, b.upper));
    }

    Search search;
    search.budget = p.maxEvaluations;

    const auto n = static_cast<unsigned>(prep.free.size());
    std::function<double(const std::vector<double>&)> f = [&](const std::vector<double>& x) {
        const std::vector<float> values = ValuesAt(prep, start, x);
        if (search.cancelled || search.evaluations >= search.budget) {
            if (search.running) search.running->force_stop();
            return search.haveBest ? search.best.objective : Penalty(p.weights);
        }
        evaluator.Evaluate(&values, search.scratch);
        ++search.evaluations;
        const double value = search.scratch.objective;
        if (!search.haveBest || value < search.best.objective) {
            search.haveBest = true;
            std::swap(search.best, search.scratch);
            search.bestValues = values;
        }
        if (progress && !progress(BalanceProgress{search.evaluations, search.budget, search.best.objective})) {
            search.cancelled = true;
            if (search.running) search.running->force_stop();
        }
        return value;
    };

    // Points of the unit cube of the free dimensions.
    auto pointOf = [&](const std::vector<float>& values) {
        std::vector<double> x(n);
        for (unsigned i = 0; i < n; ++i) {
            const auto k = static_cast<std::size_t>(prep.free[i]);
            const BalanceBound& b = prep.vary[k];
            x[i] = std::clamp((static_cast<double>(values[k]) - b.lower) / (static_cast<double>(b.upper) - b.lower),
                              0.0, 1.0);
        }
        return x;
    };
    auto haltonPoint = [&](int k) {
        std::vector<double> x(n);
        for (unsigned i = 0; i < n; ++i) x[i] = Halton(k, kPrimes[i % std::size(kPrimes)]);
        return x;
    };
    auto spent = [&] {
        return search.cancelled || search.evaluations >= search.budget ||
               (search.haveBest && search.best.objective <= 0);
    };
    // One local search from x; step: its first step, as a share of each
    // dimension's bounds.
    auto localSearch = [&](nlopt::algorithm method, std::vector<double> x, double step) {
        nlopt::opt opt(method, n);
        opt.set_lower_bounds(0.0);
        opt.set_upper_bounds(1.0);
        opt.set_xtol_abs(p.tolerance);
        opt.set_ftol_rel(kLocalRelativeTolerance);
        opt.set_stopval(0.0);
        opt.set_initial_step(step);
        opt.set_maxeval(search.budget - search.evaluations);
        opt.set_min_objective(Objective, &f);
        search.running = &opt;
        double value = 0;
        try {
            opt.optimize(x, value);
        } catch (const std::bad_alloc&) {
            search.running = nullptr;
            throw;
        } catch (const std::exception&) {
            // A forced stop, a round-off limit or a failure of the method:
            // the best point found so far stands.
        }
        search.running = nullptr;
    };

    if (n == 0) {
        f(std::vector<double>{});
    } else {
        // The valleys of this objective are long and curved, and how the
        // dimensions are listed must not matter: first the Nelder-Mead
        // simplex, spanning half of every range, which treats the
        // dimensions alike and follows a valley well.
        for (int k = 0; k <= p.restarts && !spent(); ++k)
            localSearch(nlopt::LN_NELDERMEAD, k == 0 ? pointOf(start) : haltonPoint(k), kFirstStep);
        // Then BOBYQA's quadratic models from the best point (subplex for a
        // single dimension, which BOBYQA does not take), round after round
        // while a round still gains.
        const nlopt::algorithm polish = n >= 2 ? nlopt::LN_BOBYQA : nlopt::LN_SBPLX;
        while (!spent() && search.haveBest) {
            const double before = search.best.objective;
            localSearch(polish, pointOf(search.bestValues), kPolishStep);
            if (!(search.best.objective < before * (1 - kPolishGain))) break;
        }
    }
    result.evaluations = search.evaluations;
    result.cancelled = search.cancelled;

    // Only a better design replaces the one given; a search that found
    // nothing closing leaves it as it was.
    if (search.haveBest && search.best.closes && search.best.objective < result.before.objective) {
        result.after = std::move(search.best);
        for (std::size_t i = 0; i < prep.vary.size(); ++i) {
            const DimensionInfo* d = FindDimension(prep.vary[i].id);
            // The value as the design would hold it (an angle folded).
            result.changes[i].after = IsAngleDimension(d->id) ? FoldAngle(search.bestValues[i]) : search.bestValues[i];
        }
    } else {
        result.after = result.before;
        result.infeasible = !result.before.closes && !(search.haveBest && search.best.closes);
    }
    return result;
}

MidGearResult ApplyBalance(GearState& g, const BalanceResult& r) {
    for (const BalanceChange& c : r.changes) {
        if (std::bit_cast<std::uint32_t>(c.before) == std::bit_cast<std::uint32_t>(c.after)) continue;
        g.undoPending = true;
        CommitEditorBox(g, c.id, c.after);
    }
    return FindMidGear(g);
}

} // namespace vx
