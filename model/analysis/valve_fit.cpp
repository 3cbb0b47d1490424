#include "model/analysis/valve_fit.h"

#include <ceres/ceres.h>
#include <ceres/covariance.h>

#include <Eigen/Dense>

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "base/fixed_format.h"
#include "base/float_cast.h"
#include "model/analysis/job_pool.h"
#include "model/gear/dimensions.h"
#include "model/gear/midgear.h"
#include "model/gear/reverse_arm.h"
#include "model/workspace/dimension_edit.h"

namespace vx {
namespace {

// Every event the fit reads comes through here: one place decides which
// solve the fit stands on.
void FitEvents(GearState& work, float position, EventDirection direction, PositionEvents& out) {
    ComputeValveEvents(work, position, direction, out);
}

// The central-difference step of a varied dimension: a share of the
// design's size (its stroke) for a length, of a tenth of a turn for an
// angle. The events of the classic solve are staircases with steps of about
// 0.01 points, so the step must be wide enough to see the slope over them.
constexpr double kRelativeStep = 1e-3;
constexpr double kAngleStepDegrees = 36.0 * kRelativeStep;
// A measured event the trial design does not produce: its weighted
// residual. Large against any real misfit, finite.
constexpr double kMissingResidual = 1e3;
// A first start whose RMS against the weights is above this tries others.
constexpr double kPoorFitRms = 3.0;
// Two fitted values correlated beyond this cannot be told apart.
constexpr double kCorrelationLimit = 0.95;
// A singular value of the column-scaled Jacobian below this share of the
// largest: the covariance is not of full rank.
constexpr double kRankTolerance = 1e-7;

std::string Number(double v) {
    char buf[kNumberBuffer];
    return std::string(FormatGeneral9(buf, v));
}

std::string LinePrefix(const Measurement& m) {
    return m.line > 0 ? "line " + std::to_string(m.line) + ": " : std::string();
}

template <class T>
std::optional<double> Finite(const std::optional<T>& v) {
    if (!v || !std::isfinite(static_cast<double>(*v))) return std::nullopt;
    return static_cast<double>(*v);
}

// The measured positions: each (offset, direction) once, in the order of
// first appearance.
struct FitPosition {
    double offset = 0;
    EventDirection direction = EventDirection::Auto;
};

struct Prepared {
    std::vector<FitPosition> positions;
    std::vector<int> positionOf; // per measurement
    std::vector<double> weight;  // per measurement
};

int PositionIndex(std::vector<FitPosition>& list, double offset, EventDirection d) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (list[i].offset == offset && list[i].direction == d) return static_cast<int>(i);
    list.push_back({offset, d});
    return static_cast<int>(list.size()) - 1;
}

Prepared Prepare(const ValveFitProblem& p) {
    Prepared r;
    for (const Measurement& m : p.measurements) {
        r.positionOf.push_back(PositionIndex(r.positions, m.offset, m.direction));
        r.weight.push_back(m.weight ? *m.weight : p.weights.Of(m.unit));
    }
    return r;
}

// The events of one trial design at every position asked for.
struct DesignEvents {
    bool closes = true;
    double stroke = 0;
    std::vector<PositionEvents> events;
    std::vector<char> closed; // per position
};

// Works out trial designs (the varied dimensions' values as the design
// holds them) at positions, every (design, position) a job of the pool on
// its worker's own copy.
class Evaluator {
public:
    Evaluator(const GearState& g, const std::vector<FitDimension>& vary, int threads, int jobs)
        : base_(g), vary_(vary), pool_(JobPool::ThreadsFor(jobs, threads)),
          scratch_(static_cast<std::size_t>(pool_.Threads())) {}

    void Evaluate(const std::vector<std::vector<float>>& designs, const std::vector<FitPosition>& positions,
                  std::vector<DesignEvents>& out) {
        const std::size_t n = positions.size();
        out.resize(designs.size());
        for (DesignEvents& d : out) {
            d.events.resize(n);
            d.closed.assign(n, 0);
        }
        pool_.Run(static_cast<int>(designs.size() * n), [&](int job, int worker) {
            const std::size_t k = static_cast<std::size_t>(job) / n, p = static_cast<std::size_t>(job) % n;
            GearState& s = scratch_[static_cast<std::size_t>(worker)];
            s = base_;
            for (std::size_t i = 0; i < vary_.size(); ++i) CommitDimension(s, vary_[i].id, designs[k][i]);
            DesignEvents& d = out[k];
            if (p == 0) d.stroke = s.frame.stroke;
            PositionEvents& e = d.events[p];
            if (FindMidGear(s) != MidGearResult::Found) {
                e = PositionEvents{};
                e.failedSolves = 1;
                e.firstCause = GeometryCause::MidGearSearch;
                return;
            }
            const float position = F(static_cast<double>(s.revArm.centre) + positions[p].offset);
            FitEvents(s, position, positions[p].direction, e);
            d.closed[p] = e.Closes() ? 1 : 0;
        });
        for (DesignEvents& d : out)
            d.closes = std::all_of(d.closed.begin(), d.closed.end(), [](char c) { return c != 0; });
        evaluations_ += static_cast<int>(designs.size());
    }

    int Evaluations() const { return evaluations_; }

private:
    const GearState& base_;
    const std::vector<FitDimension>& vary_;
    JobPool pool_;
    std::vector<GearState> scratch_;
    int evaluations_ = 0;
};

// The weighted residual of each measurement on a design's events; empty
// entries where the event is not produced.
std::vector<std::optional<double>> Residuals(const ValveFitProblem& p, const Prepared& prep, const DesignEvents& d) {
    std::vector<std::optional<double>> r(p.measurements.size());
    for (std::size_t i = 0; i < r.size(); ++i) {
        const Measurement& m = p.measurements[i];
        const auto f = MeasuredFigure(d.events[static_cast<std::size_t>(prep.positionOf[i])], m, d.stroke);
        if (f) r[i] = MeasurementDifference(m, *f) / prep.weight[i];
    }
    return r;
}

double StepOf(const GearState& g, int id) {
    if (IsAngleDimension(id)) return kAngleStepDegrees;
    const double size = std::fabs(static_cast<double>(g.frame.stroke));
    return kRelativeStep * (size > 0 && std::isfinite(size) ? size : 1.0);
}

std::vector<float> ToValues(const std::vector<FitDimension>& vary, const double* x) {
    std::vector<float> v(vary.size());
    for (std::size_t i = 0; i < vary.size(); ++i)
        v[i] = F(std::clamp(x[i], vary[i].lower, vary[i].upper));
    return v;
}

bool SameBits(const std::vector<float>& a, const std::vector<float>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::bit_cast<std::uint32_t>(a[i]) != std::bit_cast<std::uint32_t>(b[i])) return false;
    return true;
}

// The fit's objective and its Jacobian, with what the run has seen.
class FitModel {
public:
    FitModel(const GearState& g, const ValveFitProblem& p, const Prepared& prep, const FitProgressFn& progress)
        : g_(g), p_(p), prep_(prep), progress_(progress),
          evaluator_(g, p.vary, p.threads, static_cast<int>((2 * p.vary.size() + 1) * prep.positions.size())) {
        for (const FitDimension& d : p.vary) steps_.push_back(StepOf(g, d.id));
    }

    std::size_t Residuals() const { return p_.measurements.size(); }
    std::size_t Parameters() const { return p_.vary.size(); }

    // The design's events at values (cached: the last point asked for).
    const DesignEvents& At(const std::vector<float>& values) {
        if (!haveLast_ || !SameBits(values, lastValues_)) {
            std::vector<DesignEvents> out;
            evaluator_.Evaluate({values}, prep_.positions, out);
            last_ = std::move(out[0]);
            lastValues_ = values;
            haveLast_ = true;
            Told();
        }
        return last_;
    }

    // Residuals (and the Jacobian, row-major, when asked); false where the
    // linkage does not close or the run was cancelled.
    bool Evaluate(const double* x, double* residuals, double* jacobian) {
        if (cancelled_) return false;
        const std::vector<float> values = ToValues(p_.vary, x);
        const DesignEvents base = At(values);
        if (!base.closes) return false;
        const auto r = vx::Residuals(p_, prep_, base);
        double cost = 0;
        std::size_t counted = 0;
        for (std::size_t i = 0; i < r.size(); ++i) {
            residuals[i] = r[i] ? *r[i] : kMissingResidual;
            if (r[i]) {
                cost += *r[i] * *r[i];
                ++counted;
            }
        }
        const bool allProduced = counted == r.size();
        if (!haveBest_ || (allProduced && !bestAllProduced_) ||
            (allProduced == bestAllProduced_ && cost < bestCost_)) {
            haveBest_ = true;
            bestAllProduced_ = allProduced;
            bestCost_ = cost;
            bestValues_ = values;
            bestRms_ = counted ? std::sqrt(cost / static_cast<double>(counted)) : 0;
        }
        if (!jacobian) return !cancelled_;
        const std::size_t n = Parameters(), m = Residuals();
        std::vector<std::vector<float>> designs;
        std::vector<double> below(n), above(n);
        for (std::size_t j = 0; j < n; ++j) {
            std::vector<float> lo = values, hi = values;
            lo[j] = F(static_cast<double>(values[j]) - steps_[j]);
            hi[j] = F(static_cast<double>(values[j]) + steps_[j]);
            // The steps as the design holds them.
            below[j] = static_cast<double>(values[j]) - lo[j];
            above[j] = static_cast<double>(hi[j]) - values[j];
            designs.push_back(std::move(lo));
            designs.push_back(std::move(hi));
        }
        std::vector<DesignEvents> sides;
        evaluator_.Evaluate(designs, prep_.positions, sides);
        Told();
        for (std::size_t j = 0; j < n; ++j) {
            const DesignEvents& lo = sides[2 * j];
            const DesignEvents& hi = sides[2 * j + 1];
            const auto rl = lo.closes ? vx::Residuals(p_, prep_, lo) : std::vector<std::optional<double>>(m);
            const auto rh = hi.closes ? vx::Residuals(p_, prep_, hi) : std::vector<std::optional<double>>(m);
            for (std::size_t i = 0; i < m; ++i) {
                double d = 0;
                if (r[i] && rl[i] && rh[i] && below[j] > 0 && above[j] > 0)
                    d = (*rh[i] - *rl[i]) / (below[j] + above[j]);
                else if (r[i] && rh[i] && above[j] > 0)
                    d = (*rh[i] - *r[i]) / above[j];
                else if (r[i] && rl[i] && below[j] > 0)
                    d = (*r[i] - *rl[i]) / below[j];
                jacobian[i * n + j] = std::isfinite(d) ? d : 0;
            }
        }
        lastJacobian_.assign(jacobian, jacobian + m * n);
        lastJacobianValues_ = values;
        return !cancelled_;
    }

    // Tells the progress function; false once it asked to stop.
    bool Told() {
        if (cancelled_) return false;
        if (progress_ && !progress_(FitProgress{start_, iteration_, evaluator_.Evaluations(), bestRms_}))
            cancelled_ = true;
        return !cancelled_;
    }

    void BeginStart(int start) {
        start_ = start;
        iteration_ = 0;
    }
    void SetIteration(int i) { iteration_ = i; }
    bool Cancelled() const { return cancelled_; }
    int Evaluations() const { return evaluator_.Evaluations(); }
    bool HaveBest() const { return haveBest_; }
    const std::vector<float>& BestValues() const { return bestValues_; }
    double BestRms() const { return bestRms_; }
    const std::vector<double>& LastJacobian() const { return lastJacobian_; }
    const std::vector<float>& LastJacobianValues() const { return lastJacobianValues_; }
    Evaluator& Events() { return evaluator_; }
    const std::vector<double>& Steps() const { return steps_; }

private:
    const GearState& g_;
    const ValveFitProblem& p_;
    const Prepared& prep_;
    const FitProgressFn& progress_;
    Evaluator evaluator_;
    std::vector<double> steps_;
    bool haveLast_ = false;
    std::vector<float> lastValues_;
    DesignEvents last_;
    bool haveBest_ = false, bestAllProduced_ = false;
    double bestCost_ = 0, bestRms_ = 0;
    std::vector<float> bestValues_;
    std::vector<double> lastJacobian_;
    std::vector<float> lastJacobianValues_;
    bool cancelled_ = false;
    int start_ = 0, iteration_ = 0;
};

class FitCost final : public ceres::CostFunction {
public:
    explicit FitCost(FitModel& model) : model_(model) {
        set_num_residuals(static_cast<int>(model.Residuals()));
        mutable_parameter_block_sizes()->push_back(static_cast<int>(model.Parameters()));
    }
    bool Evaluate(double const* const* parameters, double* residuals, double** jacobians) const override {
        return model_.Evaluate(parameters[0], residuals, jacobians ? jacobians[0] : nullptr);
    }

private:
    FitModel& model_;
};

class FitCallback final : public ceres::IterationCallback {
public:
    explicit FitCallback(FitModel& model) : model_(model) {}
    ceres::CallbackReturnType operator()(const ceres::IterationSummary& s) override {
        model_.SetIteration(s.iteration);
        return model_.Told() ? ceres::SOLVER_CONTINUE : ceres::SOLVER_ABORT;
    }

private:
    FitModel& model_;
};

// A problem over the parameter block x with the fit's bounds.
void AddFit(ceres::Problem& problem, FitCost& cost, std::vector<double>& x, const std::vector<FitDimension>& vary) {
    problem.AddResidualBlock(&cost, nullptr, x.data());
    for (std::size_t i = 0; i < vary.size(); ++i) {
        problem.SetParameterLowerBound(x.data(), static_cast<int>(i), vary[i].lower);
        problem.SetParameterUpperBound(x.data(), static_cast<int>(i), vary[i].upper);
    }
}

ceres::Problem::Options ProblemOptions() {
    ceres::Problem::Options o;
    o.cost_function_ownership = ceres::DO_NOT_TAKE_OWNERSHIP;
    return o;
}

// Starts after the first: points spread through the bounds by an additive
// recurrence on the golden ratio's powers, the same on every run.
std::vector<double> SpreadStart(const std::vector<FitDimension>& vary, int k) {
    std::vector<double> x(vary.size());
    double alpha = 0.6180339887498949;
    for (std::size_t i = 0; i < vary.size(); ++i) {
        const double t = std::fmod(0.5 + k * alpha, 1.0);
        x[i] = vary[i].lower + t * (vary[i].upper - vary[i].lower);
        alpha = std::fmod(alpha * 1.6180339887498949, 1.0);
    }
    return x;
}

std::string EventWhere(const Measurement& m) {
    std::string s = std::string(m.rear ? "rear " : "front ") + std::string(MeasuredEventWords(m.event)) +
                    " at offset " + Number(m.offset);
    if (m.direction == EventDirection::Forward) s += " (forward)";
    if (m.direction == EventDirection::Reverse) s += " (reverse)";
    return s;
}

// The measurement that would best tell dimensions a and b apart: of the
// events at the nine notches, the one whose weighted change along the
// poorly fixed combination u (of the columns scaled by `scale`) is largest.
std::string SeparatingMeasurement(FitModel& model, const GearState& g, const ValveFitProblem& p,
                                  const std::vector<float>& values, std::size_t a, std::size_t b, double ua,
                                  double ub, double scaleA, double scaleB) {
    std::vector<FitPosition> positions;
    const double norm = g.frame.revArmToCentNorm;
    for (int k = -4; k <= 4; ++k) positions.push_back({HeldOffset(g, norm * k / 4), EventDirection::Auto});
    std::vector<std::vector<float>> designs;
    const std::size_t idx[2] = {a, b};
    std::vector<double> span(2);
    for (int s = 0; s < 2; ++s) {
        std::vector<float> lo = values, hi = values;
        const std::size_t j = idx[s];
        lo[j] = F(static_cast<double>(values[j]) - model.Steps()[j]);
        hi[j] = F(static_cast<double>(values[j]) + model.Steps()[j]);
        span[static_cast<std::size_t>(s)] = static_cast<double>(hi[j]) - lo[j];
        designs.push_back(std::move(lo));
        designs.push_back(std::move(hi));
    }
    std::vector<DesignEvents> out;
    model.Events().Evaluate(designs, positions, out);
    double best = 0;
    std::string bestText;
    for (std::size_t q = 0; q < positions.size(); ++q) {
        for (const bool rear : {false, true}) {
            for (int e = 0; e < kMeasuredEventCount; ++e) {
                Measurement m;
                m.offset = positions[q].offset;
                m.rear = rear;
                m.event = static_cast<MeasuredEvent>(e);
                m.unit = m.event == MeasuredEvent::Lead ? MeasureUnit::Length : MeasureUnit::Percent;
                const double w = p.weights.Of(m.unit);
                double d[2] = {0, 0};
                bool ok = span[0] > 0 && span[1] > 0;
                for (int s = 0; s < 2 && ok; ++s) {
                    const DesignEvents& lo = out[static_cast<std::size_t>(2 * s)];
                    const DesignEvents& hi = out[static_cast<std::size_t>(2 * s + 1)];
                    if (!lo.closed[q] || !hi.closed[q]) {
                        ok = false;
                        break;
                    }
                    const auto fl = MeasuredFigure(lo.events[q], m, lo.stroke);
                    const auto fh = MeasuredFigure(hi.events[q], m, hi.stroke);
                    if (!fl || !fh) {
                        ok = false;
                        break;
                    }
                    d[s] = (*fh - *fl) / span[static_cast<std::size_t>(s)] / w;
                }
                if (!ok) continue;
                const double score = std::fabs(d[0] / scaleA * ua + d[1] / scaleB * ub);
                if (!std::isfinite(score) || score <= best) continue;
                best = score;
                bestText = EventWhere(m);
            }
        }
    }
    // Too small a change to be measured: nothing at the notches separates them.
    if (best < 1e-3) return {};
    return bestText;
}

} // namespace

std::string_view MeasuredEventName(MeasuredEvent e) {
    switch (e) {
    case MeasuredEvent::Admission: return "admission";
    case MeasuredEvent::CutOff: return "cutOff";
    case MeasuredEvent::Release: return "release";
    case MeasuredEvent::Compression: return "compression";
    case MeasuredEvent::Lead: return "lead";
    }
    return "";
}

std::string_view MeasuredEventWords(MeasuredEvent e) {
    return e == MeasuredEvent::CutOff ? std::string_view("cut-off") : MeasuredEventName(e);
}

std::string_view MeasureUnitName(MeasureUnit u) {
    switch (u) {
    case MeasureUnit::Percent: return "percent";
    case MeasureUnit::Degrees: return "deg";
    case MeasureUnit::Length: return "length";
    }
    return "";
}

double FitWeights::Of(MeasureUnit u) const {
    switch (u) {
    case MeasureUnit::Percent: return percent;
    case MeasureUnit::Degrees: return degrees;
    case MeasureUnit::Length: return length;
    }
    return 1;
}

std::vector<int> DefaultFitVary() {
    std::vector<int> ids;
    for (const char* f : {"valveCtrToJoint", "eccFwdRod", "eccRevRod", "eccFwdAngle", "eccRevAngle",
                          "rockerUpperTotal", "rockerLowerLength"})
        ids.push_back(FindDimensionByField(f)->id);
    return ids;
}

std::vector<int> DefaultFitAdjust() {
    std::vector<int> ids;
    for (const char* f : {"valveCtrToJoint", "eccFwdRod", "eccRevRod"}) ids.push_back(FindDimensionByField(f)->id);
    return ids;
}

FitDimension DefaultFitDimension(const GearState& g, int id) {
    const BalanceBound b = DefaultBalanceBound(g, id);
    return {id, b.lower, b.upper};
}

std::string CheckValveFit(const GearState& g, const ValveFitProblem& p) {
    if (p.vary.empty()) return "choose at least one dimension to vary";
    for (std::size_t i = 0; i < p.vary.size(); ++i) {
        const FitDimension& b = p.vary[i];
        const DimensionInfo* d = FindDimension(b.id);
        if (!d) return "there is no dimension with id " + std::to_string(b.id);
        const std::string field(d->field);
        if (!IsDynamicVariable(b.id)) return field + " is the reverse arm travel, which the fit cannot vary";
        for (std::size_t j = 0; j < i; ++j)
            if (p.vary[j].id == b.id) return field + " is chosen twice";
        if (!std::isfinite(b.lower) || !std::isfinite(b.upper) || !std::isfinite(ToModelFloat(b.lower)) ||
            !std::isfinite(ToModelFloat(b.upper)))
            return field + ": the bounds must be finite numbers, got " + Number(b.lower) + ":" + Number(b.upper);
        if (!(b.lower < b.upper))
            return field + ": the lower bound " + Number(b.lower) + " must lie below the upper bound " +
                   Number(b.upper);
    }
    for (const double w : {p.weights.percent, p.weights.degrees, p.weights.length})
        if (!std::isfinite(w) || !(w > 0)) return "the weights must be finite and above 0, got " + Number(w);
    if (p.maxIterations < 1 || p.maxIterations > 100000) return "the iterations must number 1 to 100000";
    if (p.starts < 1 || p.starts > 100) return "the starts must number 1 to 100";
    if (p.threads < 0 || p.threads > 64) return "the threads must number 0 (one per core) to 64";
    const double max = std::fabs(static_cast<double>(g.frame.revArmToCentMax));
    for (const Measurement& m : p.measurements) {
        const std::string at = LinePrefix(m);
        if (!std::isfinite(m.offset)) return at + "the offset must be a finite number";
        if (std::fabs(m.offset) > max)
            return at + "offset " + Number(m.offset) + " lies outside the reverse arm travel (mid gear +- " +
                   Number(max) + ")";
        if (!std::isfinite(m.value)) return at + "the value must be a finite number";
        if (m.weight && !(std::isfinite(*m.weight) && *m.weight > 0))
            return at + "the weight must be a finite number above 0, got " + Number(*m.weight);
        if (m.event == MeasuredEvent::Lead && m.unit != MeasureUnit::Length)
            return at + "a lead is measured as a length (the port opening at dead centre)";
    }
    if (p.measurements.size() < p.vary.size()) {
        std::string at;
        if (!p.measurements.empty()) at = LinePrefix(p.measurements.back());
        return at + "only " + std::to_string(p.measurements.size()) + " measurement" +
               (p.measurements.size() == 1 ? "" : "s") + " for " + std::to_string(p.vary.size()) +
               " varied dimensions: the fit needs at least as many measurements as dimensions";
    }
    return {};
}

std::optional<double> MeasuredFigure(const PositionEvents& e, const Measurement& m, double stroke) {
    const EndEvents& end = e.End(m.rear);
    if (m.event == MeasuredEvent::Lead) {
        if (m.unit != MeasureUnit::Length) return std::nullopt;
        return Finite(std::optional<double>(static_cast<double>(end.lead)));
    }
    std::optional<double> percent, angle;
    switch (m.event) {
    case MeasuredEvent::Admission:
        percent = Finite(end.admission);
        angle = Finite(end.admissionAngle);
        break;
    case MeasuredEvent::CutOff:
        percent = Finite(end.cutOff);
        angle = Finite(end.cutOffAngle);
        break;
    case MeasuredEvent::Release:
        percent = Finite(end.release);
        angle = Finite(end.releaseAngle);
        break;
    case MeasuredEvent::Compression:
        percent = Finite(end.compression);
        angle = Finite(end.compressionAngle);
        break;
    case MeasuredEvent::Lead: break;
    }
    switch (m.unit) {
    case MeasureUnit::Percent: return percent;
    case MeasureUnit::Degrees: return angle;
    case MeasureUnit::Length:
        if (!percent) return std::nullopt;
        return *percent / 100.0 * stroke;
    }
    return std::nullopt;
}

double MeasurementDifference(const Measurement& m, double fitted) {
    const double d = m.value - fitted;
    if (m.unit == MeasureUnit::Degrees && m.event != MeasuredEvent::Lead) return std::remainder(d, 360.0);
    return d;
}

ValveFitResult FitValveSetting(const GearState& g, const ValveFitProblem& p, const FitProgressFn& progress) {
    ValveFitResult result;
    result.error = CheckValveFit(g, p);
    if (!result.error.empty()) return result;
    const Prepared prep = Prepare(p);
    const std::size_t n = p.vary.size(), m = p.measurements.size();
    FitModel model(g, p, prep, progress);

    // The drawing first: where it does not close, there is nothing to fit from.
    std::vector<double> x0(n);
    for (std::size_t i = 0; i < n; ++i) {
        const float v = DimensionValue(g, *FindDimension(p.vary[i].id));
        result.dims.push_back({p.vary[i].id, v, v, 0, std::nullopt, p.vary[i], false});
        x0[i] = std::isfinite(v) ? std::clamp(static_cast<double>(v), p.vary[i].lower, p.vary[i].upper)
                                 : p.vary[i].lower;
    }
    {
        const DesignEvents& drawing = model.At(ToValues(p.vary, x0.data()));
        result.closes = drawing.closes;
        if (!drawing.closes) {
            result.evaluations = model.Evaluations();
            return result;
        }
        const auto r = Residuals(p, prep, drawing);
        double sum = 0;
        int count = 0;
        for (const auto& v : r)
            if (v) {
                sum += *v * *v;
                ++count;
            }
        result.drawingRms = count ? std::sqrt(sum / count) : 0;
    }

    FitCost cost(model);
    std::vector<double> bestX;
    double bestRms = std::numeric_limits<double>::infinity();
    for (int start = 0; start < p.starts && !model.Cancelled(); ++start) {
        std::vector<double> x = start == 0 ? x0 : SpreadStart(p.vary, start);
        model.BeginStart(start + 1);
        ceres::Problem problem(ProblemOptions());
        AddFit(problem, cost, x, p.vary);
        FitCallback callback(model);
        ceres::Solver::Options o;
        o.linear_solver_type = ceres::DENSE_QR;
        o.trust_region_strategy_type = ceres::LEVENBERG_MARQUARDT;
        o.num_threads = 1;
        o.max_num_iterations = p.maxIterations;
        o.function_tolerance = 1e-10;
        o.gradient_tolerance = 1e-12;
        o.parameter_tolerance = 1e-9;
        // The bounds are kept by projecting each step onto them; the line
        // search Ceres may add along a projected step would cost a Jacobian
        // (many designs) per trial.
        o.max_num_line_search_step_size_iterations = 0;
        o.logging_type = ceres::SILENT;
        o.minimizer_progress_to_stdout = false;
        o.callbacks.push_back(&callback);
        ceres::Solver::Summary summary;
        ceres::Solve(o, &problem, &summary);
        result.iterations += static_cast<int>(summary.iterations.size());
        result.starts = start + 1;
        if (model.HaveBest() && model.BestRms() < bestRms) {
            bestRms = model.BestRms();
            const std::vector<float>& v = model.BestValues();
            bestX.assign(v.begin(), v.end());
        }
        if (bestRms <= kPoorFitRms) break;
    }
    result.cancelled = model.Cancelled();
    if (bestX.empty()) bestX = x0;

    // The solution: its events, residuals and covariance.
    const std::vector<float> best = ToValues(p.vary, bestX.data());
    for (std::size_t i = 0; i < n; ++i) {
        FittedDimension& d = result.dims[i];
        d.fitted = IsAngleDimension(d.id) ? FoldAngle(best[i]) : best[i];
        d.change = static_cast<double>(best[i]) - static_cast<double>(d.drawing);
        if (IsAngleDimension(d.id)) d.change = std::remainder(d.change, 360.0);
        d.atBound = p.vary[i].lower < p.vary[i].upper &&
                    (static_cast<double>(best[i]) <= p.vary[i].lower || static_cast<double>(best[i]) >= p.vary[i].upper);
    }
    const DesignEvents solution = model.At(best);
    const auto r = Residuals(p, prep, solution);
    double sum = 0;
    int count = 0;
    for (std::size_t i = 0; i < m; ++i) {
        FitResidual fr;
        fr.index = i;
        fr.weight = prep.weight[i];
        if (solution.closed[static_cast<std::size_t>(prep.positionOf[i])] && r[i]) {
            fr.fitted = MeasuredFigure(solution.events[static_cast<std::size_t>(prep.positionOf[i])],
                                       p.measurements[i], solution.stroke);
            fr.difference = MeasurementDifference(p.measurements[i], *fr.fitted);
            fr.residual = *r[i];
            sum += fr.residual * fr.residual;
            ++count;
        } else {
            result.notProduced.push_back(i);
        }
        result.residuals.push_back(fr);
    }
    result.rms = count ? std::sqrt(sum / count) : 0;
    std::stable_sort(result.residuals.begin(), result.residuals.end(), [](const FitResidual& a, const FitResidual& b) {
        const double x = a.fitted ? std::fabs(a.residual) : std::numeric_limits<double>::infinity();
        const double y = b.fitted ? std::fabs(b.residual) : std::numeric_limits<double>::infinity();
        return x > y;
    });
    if (result.cancelled || !solution.closes) {
        result.evaluations = model.Evaluations();
        return result;
    }

    // The Jacobian at the solution, its columns scaled to unit length, for
    // the rank; Ceres' covariance for the standard errors.
    std::vector<double> xs(best.begin(), best.end());
    std::vector<double> res(m), jac(m * n);
    if (!model.Evaluate(xs.data(), res.data(), jac.data())) {
        result.evaluations = model.Evaluations();
        return result;
    }
    Eigen::MatrixXd J(static_cast<Eigen::Index>(m), static_cast<Eigen::Index>(n));
    for (std::size_t i = 0; i < m; ++i)
        for (std::size_t j = 0; j < n; ++j) J(static_cast<Eigen::Index>(i), static_cast<Eigen::Index>(j)) = jac[i * n + j];
    Eigen::VectorXd scale(static_cast<Eigen::Index>(n));
    for (Eigen::Index j = 0; j < J.cols(); ++j) {
        scale(j) = J.col(j).norm();
        if (scale(j) > 0) J.col(j) /= scale(j);
    }
    const Eigen::JacobiSVD<Eigen::MatrixXd> svd(J, Eigen::ComputeFullV);
    const Eigen::VectorXd& sv = svd.singularValues();
    const double largest = sv.size() ? sv(0) : 0;
    std::vector<Eigen::VectorXd> nullVectors;
    for (Eigen::Index k = 0; k < static_cast<Eigen::Index>(n); ++k) {
        const double s = k < sv.size() ? sv(k) : 0;
        if (!(s > kRankTolerance * largest)) nullVectors.push_back(svd.matrixV().col(k));
    }
    std::vector<bool> notFixed(n, false);
    for (const Eigen::VectorXd& v : nullVectors)
        for (std::size_t j = 0; j < n; ++j)
            if (std::fabs(v(static_cast<Eigen::Index>(j))) > 0.05) notFixed[j] = true;

    ceres::Problem problem(ProblemOptions());
    AddFit(problem, cost, xs, p.vary);
    ceres::Covariance::Options co;
    co.algorithm_type = ceres::DENSE_SVD;
    co.num_threads = 1;
    co.null_space_rank = nullVectors.empty() ? 0 : -1;
    co.min_reciprocal_condition_number = nullVectors.empty() ? 1e-14 : kRankTolerance * kRankTolerance;
    ceres::Covariance covariance(co);
    std::vector<std::pair<const double*, const double*>> blocks = {{xs.data(), xs.data()}};
    std::vector<double> C(n * n, 0.0);
    const bool haveCovariance = covariance.Compute(blocks, &problem) &&
                          covariance.GetCovarianceBlock(xs.data(), xs.data(), C.data());
    if (haveCovariance)
        for (std::size_t j = 0; j < n; ++j) {
            const double c = C[j * n + j];
            if (!notFixed[j] && std::isfinite(c) && c >= 0 && scale(static_cast<Eigen::Index>(j)) > 0)
                result.dims[j].standardError = std::sqrt(c);
        }

    // The pairs that cannot be told apart: strongly correlated, or sharing a
    // direction the measurements do not see at all.
    auto warned = [&](std::size_t a, std::size_t b) {
        for (const FitWarning& w : result.warnings)
            if ((w.a == p.vary[a].id && w.b == p.vary[b].id) || (w.a == p.vary[b].id && w.b == p.vary[a].id))
                return true;
        return false;
    };
    auto separate = [&](std::size_t a, std::size_t b, double ua, double ub) {
        return SeparatingMeasurement(model, g, p, best, a, b, ua, ub, scale(static_cast<Eigen::Index>(a)),
                                     scale(static_cast<Eigen::Index>(b)));
    };
    const auto sa = [&](std::size_t j) { return scale(static_cast<Eigen::Index>(j)); };
    for (const Eigen::VectorXd& v : nullVectors) {
        std::size_t a = 0, b = 0;
        double va = -1, vb = -1;
        for (std::size_t j = 0; j < n; ++j) {
            const double x = std::fabs(v(static_cast<Eigen::Index>(j)));
            if (x > va) {
                b = a;
                vb = va;
                a = j;
                va = x;
            } else if (x > vb) {
                b = j;
                vb = x;
            }
        }
        if (n < 2 || vb < 0 || warned(a, b)) continue;
        FitWarning w{p.vary[a].id, p.vary[b].id, 0, true, {}};
        if (haveCovariance && sa(a) > 0 && sa(b) > 0) {
            const double caa = C[a * n + a], cbb = C[b * n + b], cab = C[a * n + b];
            if (caa > 0 && cbb > 0) w.correlation = cab / std::sqrt(caa * cbb);
        }
        if (sa(a) > 0 && sa(b) > 0)
            w.separate = separate(a, b, v(static_cast<Eigen::Index>(a)), v(static_cast<Eigen::Index>(b)));
        result.warnings.push_back(std::move(w));
    }
    if (haveCovariance)
        for (std::size_t a = 0; a < n; ++a)
            for (std::size_t b = a + 1; b < n; ++b) {
                const double caa = C[a * n + a], cbb = C[b * n + b], cab = C[a * n + b];
                if (!(caa > 0 && cbb > 0)) continue;
                const double corr = cab / std::sqrt(caa * cbb);
                if (!(std::fabs(corr) > kCorrelationLimit) || warned(a, b)) continue;
                // The combination of the two the measurements fix least: the
                // smaller eigenvector of their block of J'J.
                const Eigen::Vector2d ja(J.col(static_cast<Eigen::Index>(a)).dot(J.col(static_cast<Eigen::Index>(a))),
                                         J.col(static_cast<Eigen::Index>(a)).dot(J.col(static_cast<Eigen::Index>(b))));
                Eigen::Matrix2d F;
                F << ja(0), ja(1), ja(1), J.col(static_cast<Eigen::Index>(b)).squaredNorm();
                const Eigen::SelfAdjointEigenSolver<Eigen::Matrix2d> es(F);
                const Eigen::Vector2d u = es.eigenvectors().col(0);
                FitWarning w{p.vary[a].id, p.vary[b].id, corr, false, separate(a, b, u(0), u(1))};
                result.warnings.push_back(std::move(w));
            }
    result.evaluations = model.Evaluations();
    return result;
}

MidGearResult CommitFit(GearState& g, const ValveFitResult& r) {
    for (const FittedDimension& d : r.dims) CommitDimension(g, d.id, d.fitted);
    return FindMidGear(g);
}

BalanceProblem CorrectionProblem(const GearState& fitted, const ValveFitProblem& p, const std::vector<int>& adjust) {
    BalanceProblem b = DefaultBalanceProblem(fitted);
    for (const int id : adjust) b.vary.push_back(DefaultBalanceBound(fitted, id));
    const Prepared prep = Prepare(p);
    if (!prep.positions.empty()) {
        b.positions.clear();
        for (const FitPosition& q : prep.positions)
            if (std::find(b.positions.begin(), b.positions.end(), q.offset) == b.positions.end())
                b.positions.push_back(q.offset);
        const EventDirection first = prep.positions.front().direction;
        const bool same = std::all_of(prep.positions.begin(), prep.positions.end(),
                                      [&](const FitPosition& q) { return q.direction == first; });
        b.direction = same ? first : EventDirection::Auto;
    }
    b.threads = p.threads;
    return b;
}

std::string ShopCorrection(int id, double change) {
    const DimensionInfo* d = FindDimension(id);
    if (!d) return {};
    const std::string name = std::string(d->shortName) + " (" + std::string(d->field) + ")";
    const double size = std::fabs(change);
    if (IsAngleDimension(id))
        return (change >= 0 ? "increase " : "decrease ") + name + " by " + FixedString(size, 3) + " deg";
    // The parts a fitter makes longer or shorter: rods, links and arms.
    static constexpr std::string_view kParts[] = {
        "mainRodLength", "eccFwdRod",       "eccRevRod",        "liftLinkExLink",   "liftLinkRadRod",
        "radRodTotalLength", "radRodShortEnd", "liftArmExLinkEnd", "liftArmRadRodEnd", "reverseArmLength",
        "rockerUpperTotal", "rockerLowerLength", "pistonToCrosshead", "valveCtrToJoint"};
    const bool part = std::find(std::begin(kParts), std::end(kParts), d->field) != std::end(kParts);
    const char* more = part ? "lengthen " : "increase ";
    const char* less = part ? "shorten " : "decrease ";
    return (change >= 0 ? more : less) + name + " by " + FixedString(size, 4);
}

MidGearResult ApplyFit(GearState& g, const ValveFitResult& r) {
    for (const FittedDimension& d : r.dims) {
        if (std::bit_cast<std::uint32_t>(d.drawing) == std::bit_cast<std::uint32_t>(d.fitted)) continue;
        g.undoPending = true;
        CommitEditorBox(g, d.id, d.fitted);
    }
    return FindMidGear(g);
}

} // namespace vx
