#include "model/analysis/sensitivity.h"

#include "base/float_cast.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "model/gear/dimensions.h"
#include "base/fixed_format.h"
#include "model/analysis/job_pool.h"
#include "model/gear/exact_solver.h"
#include "model/gear/midgear.h"
#include "model/gear/reverse_arm.h"

namespace vx {
namespace {


constexpr std::string_view kFigureNames[kEventFigureCount] = {
    "cutOffFront",      "cutOffRear",      "releaseFront",   "releaseRear",   "compressionFront", "compressionRear",
    "admissionFront",   "admissionRear",   "leadFront",      "leadRear",      "cutOffDiff",       "leadDiff",
};

std::optional<double> Finite(const std::optional<double>& v) {
    if (v && std::isfinite(*v)) return v;
    return std::nullopt;
}

// Front minus rear: a float on the classic solve, whose figures are floats.
std::optional<double> Difference(const std::optional<double>& a, const std::optional<double>& b, bool classic) {
    if (!a || !b) return std::nullopt;
    const double d = *a - *b;
    return Finite(classic ? D(F(d)) : d);
}

// The one-sided slopes of an exact entry disagree by more than this share
// of the larger, or by more than a figure's last digits over the step.
constexpr double kKinkShare = 0.02;
constexpr double kFigureNoise = 1e-9;

// Nine significant digits, or every digit.
void AppendGeneral(std::string& out, double v, Digits digits) {
    char buf[kNumberBuffer];
    out += digits == Digits::Full ? FormatRoundTrip(buf, v) : FormatGeneral9(buf, v);
}

void Pad(std::string& out, std::size_t from, std::size_t width) {
    if (out.size() - from < width) out.append(width - (out.size() - from), ' ');
}

// One side of a central difference: the figures of every position, and
// the value the dimension took.
struct Side {
    double value = 0;
    std::vector<char> closes;          // per position (mid gear found, linkage closed)
    std::vector<EventFigures> figures; // per position
};

// How many jobs run between two calls of the progress function.
int BatchSize(const JobPool& pool) { return 4 * pool.Threads(); }

} // namespace

std::string_view EventFigureName(EventFigure f) { return kFigureNames[static_cast<std::size_t>(f)]; }

std::optional<EventFigure> FindEventFigure(std::string_view name) {
    for (int i = 0; i < kEventFigureCount; ++i)
        if (kFigureNames[i] == name) return static_cast<EventFigure>(i);
    return std::nullopt;
}

EventFigures FiguresOf(const PositionEvents& e) {
    EventFigures f;
    const auto set = [&f](EventFigure k, const std::optional<double>& v) { f[static_cast<std::size_t>(k)] = Finite(v); };
    const bool classic = e.solve == SolveMode::Classic;
    set(EventFigure::CutOffFront, e.front.cutOff);
    set(EventFigure::CutOffRear, e.rear.cutOff);
    set(EventFigure::ReleaseFront, e.front.release);
    set(EventFigure::ReleaseRear, e.rear.release);
    set(EventFigure::CompressionFront, e.front.compression);
    set(EventFigure::CompressionRear, e.rear.compression);
    set(EventFigure::AdmissionFront, e.front.admission);
    set(EventFigure::AdmissionRear, e.rear.admission);
    set(EventFigure::LeadFront, e.front.lead);
    set(EventFigure::LeadRear, e.rear.lead);
    set(EventFigure::CutOffDiff, Difference(e.front.cutOff, e.rear.cutOff, classic));
    set(EventFigure::LeadDiff, Difference(e.front.lead, e.rear.lead, classic));
    return f;
}

std::vector<float> PositionsFromOffsets(const GearState& g, std::span<const double> offsets) {
    if (offsets.empty()) {
        const auto notches = NotchPositions(g);
        return {notches.begin(), notches.end()};
    }
    std::vector<float> positions;
    positions.reserve(offsets.size());
    for (const double offset : offsets) positions.push_back(HeldReverseArm(g, offset));
    return positions;
}

std::vector<double> PositionsFromOffsets(const GearState& g, std::span<const double> offsets, SolveMode solve) {
    if (solve == SolveMode::Classic) {
        const std::vector<float> classic = PositionsFromOffsets(g, offsets);
        return {classic.begin(), classic.end()};
    }
    if (offsets.empty()) {
        const auto notches = NotchPositions(g, solve);
        return {notches.begin(), notches.end()};
    }
    const double centre = MidGearCentre(g, solve);
    std::vector<double> positions;
    positions.reserve(offsets.size());
    for (const double offset : offsets) positions.push_back(centre + HeldOffset(g, offset));
    return positions;
}

namespace {

// The unit in the last place of a float: the least step its value takes.
double UnitInLastPlace(float value) {
    const float magnitude = std::fabs(value);
    return D(std::nextafter(magnitude, std::numeric_limits<float>::infinity())) - D(magnitude);
}

} // namespace

double ExactSensitivityStep(const GearState& g, int id, float value) {
    const double target = IsAngleDimension(id) ? 1e-5 : 1e-6 * DesignScale(g);
    const double step = std::max(target, 4 * UnitInLastPlace(value));
    return std::isfinite(step) ? step : target;
}

std::string_view SensitivityStatusText(SensitivityStatus status) {
    switch (status) {
    case SensitivityStatus::Ok: break;
    case SensitivityStatus::Fails: return "fails: the linkage does not close at the step";
    case SensitivityStatus::NoEvent: return "none: the event does not happen";
    case SensitivityStatus::Kink: return "kink: the figure turns a corner here";
    }
    return {};
}

std::string_view SensitivityStatusWord(SensitivityStatus status) {
    switch (status) {
    case SensitivityStatus::Ok: break;
    case SensitivityStatus::Fails: return "fails";
    case SensitivityStatus::NoEvent: return "none";
    case SensitivityStatus::Kink: return "kink";
    }
    return {};
}

double SensitivityStep(int id, float value) {
    if (IsAngleDimension(id)) return 0.01;
    if (value == 0) return 1e-4;
    return 1e-3 * std::fabs(D(value));
}

double ShopTolerance(int id) { return IsAngleDimension(id) ? 0.1 : 0.001; }

bool SensitivityResult::Closes() const {
    return std::all_of(positions.begin(), positions.end(),
                       [](const SensitivityPosition& p) { return p.nominal.Closes(); });
}

std::string CheckSensitivitySettings(const SensitivitySettings& s) {
    for (std::size_t i = 0; i < s.ids.size(); ++i) {
        const DimensionInfo* d = FindDimension(s.ids[i]);
        if (!d) return "there is no dimension with id " + std::to_string(s.ids[i]);
        for (std::size_t j = 0; j < i; ++j)
            if (s.ids[j] == s.ids[i]) return std::string(d->field) + " is chosen twice";
    }
    if (s.offsets.size() > kMaxSensitivityPositions)
        return "at most " + std::to_string(kMaxSensitivityPositions) + " positions";
    for (const double o : s.offsets)
        if (!std::isfinite(o)) return "the positions must be finite numbers";
    if (s.threads < 0 || s.threads > 64) return "the threads must number 0 (one per core) to 64";
    if (s.notch < -1 || s.notch >= kNotchCount) return "the notch must be 1 to 9";
    return {};
}

void ComputeNominalPosition(GearState& work, const GearState& design, double position, EventDirection direction,
                            NominalPosition& out, SolveMode solve) {
    ComputeValveEvents(work, position, direction, out.nominal, solve);
    out.position = out.nominal.position;
    out.offset = solve == SolveMode::Classic ? D(OffsetFromMidGear(design.revArm.centre, F(position)))
                                             : position - MidGearCentre(design, solve);
    out.forward = out.nominal.forward;
}

void AppendPositionHeading(std::string& out, const NominalPosition& p, Digits digits) {
    out += "Reverse arm ";
    AppendFigure(out, p.position, 4, digits);
    out += " (mid gear ";
    if (p.offset >= 0) out += '+';
    AppendFigure(out, p.offset, 4, digits);
    out += p.forward ? "), forward: " : "), reverse: ";
}

SensitivityResult ComputeSensitivity(const GearState& g, const SensitivitySettings& s,
                                     const AnalysisProgressFn& progress) {
    SensitivityResult r;
    r.error = CheckSensitivitySettings(s);
    if (!r.error.empty()) return r;
    if (s.ids.empty()) {
        for (const DimensionInfo& d : AllDimensions()) r.ids.push_back(d.id);
    } else {
        r.ids = s.ids;
    }
    const std::size_t nd = r.ids.size();

    // The design's own events. Each side runs in the direction the design
    // runs there, so that a step across mid gear cannot turn it round.
    const bool exact = s.solve == SolveMode::Exact;
    const auto positionsOf = [&s](const GearState& design) {
        if (s.notch < 0) return PositionsFromOffsets(design, s.offsets, s.solve);
        return std::vector<double>{NotchPositions(design, s.solve)[static_cast<std::size_t>(s.notch)]};
    };
    const std::vector<double> nominalPositions = positionsOf(g);
    const std::size_t np = nominalPositions.size();
    ComputeNominalPositions(g, nominalPositions, s.direction, r.positions, s.solve);
    std::vector<EventFigures> nominalFigures(np);
    for (std::size_t p = 0; p < np; ++p) nominalFigures[p] = FiguresOf(r.positions[p].nominal);

    r.steps.resize(nd);
    for (std::size_t d = 0; d < nd; ++d) {
        const DimensionInfo* info = FindDimension(r.ids[d]);
        const float value = DimensionValue(g, *info);
        r.steps[d] = exact ? ExactSensitivityStep(g, r.ids[d], value) : D(F(SensitivityStep(r.ids[d], value)));
    }

    const bool anyCloses = !r.Closes() ? std::any_of(r.positions.begin(), r.positions.end(),
                                                     [](const SensitivityPosition& p) { return p.nominal.Closes(); })
                                       : true;
    // Sides: job 2d is dimension d stepped down, 2d + 1 stepped up.
    const int jobs = static_cast<int>(2 * nd);
    JobPool pool(JobPool::ThreadsFor(jobs, s.threads));
    std::vector<GearState> scratch(static_cast<std::size_t>(pool.Threads()), g);
    const auto runSide = [&](int job, int worker, double scale, Side& side) {
        GearState& w = scratch[static_cast<std::size_t>(worker)];
        w = g;
        const std::size_t d = static_cast<std::size_t>(job / 2);
        const int id = r.ids[d];
        const DimensionInfo* info = FindDimension(id);
        const float v = DimensionValue(g, *info);
        double h = r.steps[d] * scale;
        // On the exact solve a tenth of the step still moves the float.
        if (exact) h = std::max(h, UnitInLastPlace(v));
        if (job % 2 == 0) h = -h;
        CommitDimension(w, id, F(D(v) + h));
        side.value = DimensionValue(w, *info);
        side.figures.assign(np, EventFigures{});
        side.closes.assign(np, 0);
        if (!anyCloses) return;
        if (exact ? !ExactMidGearOf(w) : FindMidGear(w) != MidGearResult::Found) return;
        const std::vector<double> positions = positionsOf(w);
        PositionEvents e;
        for (std::size_t p = 0; p < np; ++p) {
            if (!r.positions[p].nominal.Closes()) continue; // no derivative where the design fails
            const EventDirection dir = r.positions[p].forward ? EventDirection::Forward : EventDirection::Reverse;
            ComputeValveEvents(w, positions[p], dir, e, s.solve, EventDetail::Figures);
            side.closes[p] = e.Closes() ? 1 : 0;
            if (e.Closes()) side.figures[p] = FiguresOf(e);
        }
    };
    // Runs the jobs listed in batches; false when cancelled.
    long long done = 0, total = jobs;
    const auto runJobs = [&](const std::vector<int>& list, double scale, std::vector<Side>& sides) {
        const int batch = BatchSize(pool);
        for (std::size_t start = 0; start < list.size(); start += static_cast<std::size_t>(batch)) {
            const int n = static_cast<int>(std::min(list.size() - start, static_cast<std::size_t>(batch)));
            pool.Run(n, [&](int k, int worker) {
                const int job = list[start + static_cast<std::size_t>(k)];
                runSide(job, worker, scale, sides[static_cast<std::size_t>(job)]);
            });
            done += n;
            if (progress && !progress(done, total)) return false;
        }
        return true;
    };

    std::vector<int> all(static_cast<std::size_t>(jobs));
    for (int j = 0; j < jobs; ++j) all[static_cast<std::size_t>(j)] = j;
    std::vector<Side> sides(static_cast<std::size_t>(jobs));
    if (!runJobs(all, 1.0, sides)) {
        r.cancelled = true;
        return r;
    }

    // A pair of sides is tried again at a position where a side fails, or
    // loses an event the design has there.
    const auto needsRetryAt = [&](std::size_t d, std::size_t p) {
        if (!r.positions[p].nominal.Closes()) return false; // nothing to differentiate
        for (int k = 0; k < 2; ++k) {
            const Side& side = sides[2 * d + static_cast<std::size_t>(k)];
            if (!side.closes[p]) return true;
            for (int f = 0; f < kEventFigureCount; ++f)
                if (nominalFigures[p][static_cast<std::size_t>(f)] && !side.figures[p][static_cast<std::size_t>(f)])
                    return true;
        }
        return false;
    };
    const auto needsRetry = [&](std::size_t d) {
        for (std::size_t p = 0; p < np; ++p)
            if (needsRetryAt(d, p)) return true;
        return false;
    };
    std::vector<int> again;
    for (std::size_t d = 0; d < nd; ++d) {
        if (!needsRetry(d)) continue;
        again.push_back(static_cast<int>(2 * d));
        again.push_back(static_cast<int>(2 * d + 1));
    }
    std::vector<Side> retried(static_cast<std::size_t>(jobs));
    total += static_cast<long long>(again.size());
    if (!again.empty() && !runJobs(again, 0.1, retried)) {
        r.cancelled = true;
        return r;
    }

    r.entries.assign(np * nd * kEventFigureCount, SensitivityEntry{});
    for (std::size_t d = 0; d < nd; ++d) {
        const int id = r.ids[d];
        for (std::size_t p = 0; p < np; ++p) {
            const bool retry = needsRetryAt(d, p);
            const Side& lo = retry ? retried[2 * d] : sides[2 * d];
            const Side& hi = retry ? retried[2 * d + 1] : sides[2 * d + 1];
            // An angle's step may cross 0/360: each side's step is taken
            // the short way round.
            const auto stepOf = [&](double from, double to) {
                double delta = to - from;
                if (IsAngleDimension(id) && std::isfinite(delta)) delta -= 360.0 * std::round(delta / 360.0);
                return delta;
            };
            const double v0 = DimensionValue(g, *FindDimension(id));
            const double delta = stepOf(lo.value, hi.value);
            const double up = stepOf(v0, hi.value), down = stepOf(lo.value, v0);
            const bool stepped = std::isfinite(delta) && delta != 0;
            for (int f = 0; f < kEventFigureCount; ++f) {
                SensitivityEntry& e = r.entries[(p * nd + d) * kEventFigureCount + static_cast<std::size_t>(f)];
                e.retried = retry;
                const std::size_t k = static_cast<std::size_t>(f);
                if (!r.positions[p].nominal.Closes() || !lo.closes[p] || !hi.closes[p] || !stepped) {
                    e.status = SensitivityStatus::Fails;
                    continue;
                }
                const bool nominal = nominalFigures[p][k].has_value();
                if (!nominal || !lo.figures[p][k] || !hi.figures[p][k]) {
                    // On the exact solve a figure that is there on one side
                    // of the step and not on the other begins or ends within
                    // it.
                    const bool changes = nominal != lo.figures[p][k].has_value() ||
                                         nominal != hi.figures[p][k].has_value();
                    e.status = exact && changes ? SensitivityStatus::Kink : SensitivityStatus::NoEvent;
                    continue;
                }
                double derivative = (*hi.figures[p][k] - *lo.figures[p][k]) / delta;
                if (!exact) derivative = D(F(derivative));
                double perTolerance = derivative * ShopTolerance(id);
                if (!exact) perTolerance = D(F(perTolerance));
                if (!std::isfinite(derivative) || !std::isfinite(perTolerance)) {
                    e.status = SensitivityStatus::Fails;
                    continue;
                }
                if (exact && up != 0 && down != 0) {
                    const double slopeUp = (*hi.figures[p][k] - *nominalFigures[p][k]) / up;
                    const double slopeDown = (*nominalFigures[p][k] - *lo.figures[p][k]) / down;
                    const double allowed = kKinkShare * std::max(std::fabs(slopeUp), std::fabs(slopeDown)) +
                                           kFigureNoise / std::min(std::fabs(up), std::fabs(down));
                    if (!(std::fabs(slopeUp - slopeDown) <= allowed)) {
                        e.status = SensitivityStatus::Kink;
                        continue;
                    }
                }
                e.status = SensitivityStatus::Ok;
                e.derivative = derivative;
                e.perTolerance = perTolerance;
            }
        }
    }
    return r;
}

std::vector<int> RankDimensions(const SensitivityResult& r, std::size_t position, EventFigure f) {
    std::vector<int> order;
    if (!r.Ok() || position >= r.positions.size()) return order;
    for (std::size_t d = 0; d < r.ids.size(); ++d) order.push_back(static_cast<int>(d));
    const auto rankOf = [&](int d) {
        const SensitivityEntry& e = r.At(position, static_cast<std::size_t>(d), f);
        return e.status == SensitivityStatus::Ok ? 0 : e.status == SensitivityStatus::Fails ? 1 : 2;
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        const int ra = rankOf(a), rb = rankOf(b);
        if (ra != rb) return ra < rb;
        if (ra != 0) return false;
        return std::fabs(r.At(position, static_cast<std::size_t>(a), f).perTolerance) >
               std::fabs(r.At(position, static_cast<std::size_t>(b), f).perTolerance);
    });
    return order;
}

std::vector<int> TopDimensions(const SensitivityResult& r, EventFigure f, int n, std::span<const int> candidates) {
    struct Scored {
        int id;
        double score;
    };
    std::vector<Scored> scored;
    if (!r.Ok()) return {};
    for (const int id : candidates) {
        const auto at = std::find(r.ids.begin(), r.ids.end(), id);
        if (at == r.ids.end()) continue;
        const auto d = static_cast<std::size_t>(at - r.ids.begin());
        double sum = 0;
        bool any = false;
        for (std::size_t p = 0; p < r.positions.size(); ++p) {
            const SensitivityEntry& e = r.At(p, d, f);
            if (e.status != SensitivityStatus::Ok) continue;
            sum += std::fabs(double{e.perTolerance});
            any = true;
        }
        if (any) scored.push_back({id, sum});
    }
    std::stable_sort(scored.begin(), scored.end(), [](const Scored& a, const Scored& b) { return a.score > b.score; });
    std::vector<int> top;
    for (std::size_t i = 0; i < scored.size() && static_cast<int>(i) < n; ++i) top.push_back(scored[i].id);
    return top;
}

std::string SensitivityCsv(const SensitivityResult& r, Digits digits) {
    std::string out(kSensitivityCsvHeader);
    if (!r.Ok()) return out;
    for (std::size_t p = 0; p < r.positions.size(); ++p) {
        const SensitivityPosition& sp = r.positions[p];
        for (std::size_t d = 0; d < r.ids.size(); ++d) {
            const std::string_view field = FindDimension(r.ids[d])->field;
            for (int f = 0; f < kEventFigureCount; ++f) {
                const SensitivityEntry& e = r.At(p, d, static_cast<EventFigure>(f));
                AppendFigure(out, sp.position, 6, digits);
                out += sp.forward ? ",forward," : ",reverse,";
                out += field;
                out += ',';
                out += EventFigureName(static_cast<EventFigure>(f));
                out += ',';
                switch (e.status) {
                case SensitivityStatus::Ok:
                    AppendGeneral(out, e.derivative, digits);
                    out += ',';
                    AppendGeneral(out, e.perTolerance, digits);
                    break;
                case SensitivityStatus::Fails:
                case SensitivityStatus::NoEvent:
                case SensitivityStatus::Kink:
                    out += SensitivityStatusWord(e.status);
                    out += ',';
                    out += SensitivityStatusWord(e.status);
                    break;
                }
                out += '\n';
            }
        }
    }
    return out;
}

std::string SensitivityRankingText(const SensitivityResult& r, EventFigure f, int top, const FigureStyle& style) {
    std::string out;
    if (!r.Ok()) return out;
    const Digits digits = style.digits;
    const std::string unit =
        !IsLeadFigure(f) ? "points" : style.unit == LengthUnit::None ? "length units" : std::string(LengthUnitSymbol(style.unit));
    for (std::size_t p = 0; p < r.positions.size(); ++p) {
        const SensitivityPosition& sp = r.positions[p];
        if (p > 0) out += '\n';
        AppendPositionHeading(out, sp, digits);
        out += EventFigureName(f);
        out += '\n';
        if (!sp.nominal.Closes()) {
            out += "  the linkage does not close here: no derivatives\n";
            continue;
        }
        out += "  rank  dimension                 derivative   per tolerance (";
        out += unit;
        out += ")\n";
        const std::vector<int> order = RankDimensions(r, p, f);
        const std::size_t n = top > 0 ? std::min(order.size(), static_cast<std::size_t>(top)) : order.size();
        for (std::size_t i = 0; i < n; ++i) {
            const std::size_t d = static_cast<std::size_t>(order[i]);
            const SensitivityEntry& e = r.At(p, d, f);
            const std::size_t start = out.size();
            const std::string rank = std::to_string(i + 1);
            out.append(rank.size() < 6 ? 6 - rank.size() : 0, ' ');
            out += rank;
            out += "  ";
            out += FindDimension(r.ids[d])->field;
            Pad(out, start, 34);
            if (e.status == SensitivityStatus::Ok) {
                const std::size_t at = out.size();
                AppendGeneral(out, e.derivative, digits);
                Pad(out, at, 13);
                out += "  ";
                AppendFigure(out, e.perTolerance, IsLeadFigure(f) ? 6 : 4, digits, 10);
                if (e.retried) out += "  (at a tenth of the step)";
            } else {
                out += SensitivityStatusText(e.status);
            }
            out += '\n';
        }
    }
    return out;
}

} // namespace vx
