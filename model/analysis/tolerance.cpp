#include "model/analysis/tolerance.h"

#include "base/float_cast.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "model/gear/dimensions.h"
#include "base/fixed_format.h"
#include "model/analysis/job_pool.h"
#include "model/gear/midgear.h"
#include "model/gear/reverse_arm.h"

namespace vx {
namespace {


constexpr float kMissing = std::numeric_limits<float>::quiet_NaN();

// The figures kept at once: samples x positions of a chunk x figures. A run
// of more samples than fit takes the positions a few at a time.
constexpr std::size_t kValueBudget = std::size_t{1} << 23;

int IndexOf(int id) {
    const auto all = AllDimensions();
    for (std::size_t i = 0; i < all.size(); ++i)
        if (all[i].id == id) return static_cast<int>(i);
    return -1;
}

std::uint64_t Mix(std::uint64_t z) {
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::string Number(double v) {
    char buf[kNumberBuffer];
    return std::string(FormatGeneral9(buf, v));
}

} // namespace

float ToleranceQuantile(const std::vector<float>& sorted, double p) {
    const double h = static_cast<double>(sorted.size() - 1) * p;
    const auto lo = static_cast<std::size_t>(std::floor(h));
    const std::size_t hi = std::min(lo + 1, sorted.size() - 1);
    const double frac = h - static_cast<double>(lo);
    return F(D(sorted[lo]) + frac * (D(sorted[hi]) - D(sorted[lo])));
}

namespace {

void Spread(FigureSpread& s, std::vector<float>& values, int samples) {
    std::sort(values.begin(), values.end());
    s.count = static_cast<int>(values.size());
    s.failed = F(static_cast<double>(samples - s.count) / samples);
    if (values.empty()) return;
    s.min = values.front();
    s.max = values.back();
    s.p05 = ToleranceQuantile(values, 0.05);
    s.median = ToleranceQuantile(values, 0.5);
    s.p95 = ToleranceQuantile(values, 0.95);
}

void Histogram(TolerancePosition& tp, const std::vector<float>& diffs) {
    double lo = std::numeric_limits<double>::infinity(), hi = -lo;
    for (const float v : diffs) {
        lo = std::min(lo, D(v));
        hi = std::max(hi, D(v));
    }
    const auto& nominal = tp.figures[static_cast<std::size_t>(EventFigure::CutOffDiff)].nominal;
    if (nominal) {
        lo = std::min(lo, D(*nominal));
        hi = std::max(hi, D(*nominal));
    }
    if (!(lo <= hi)) return; // nothing to count
    // A range of no width still shows one bar, in the middle.
    const double widen = std::max(0.05, 0.05 * (hi - lo));
    lo -= widen;
    hi += widen;
    tp.histLow = F(lo);
    tp.histHigh = F(hi);
    const double width = D(tp.histHigh) - D(tp.histLow);
    for (const float v : diffs) {
        const double t = (D(v) - D(tp.histLow)) / width * kToleranceHistogramBins;
        const int bin = std::clamp(static_cast<int>(std::clamp(t, 0.0, double{kToleranceHistogramBins - 1})), 0,
                                   kToleranceHistogramBins - 1);
        ++tp.histogram[static_cast<std::size_t>(bin)];
    }
}

// How many samples run between two calls of the progress function.
int BatchSize(const JobPool& pool) { return 8 * pool.Threads(); }

} // namespace

bool IsToleranceExempt(int id) { return id == 25 || id == 26; }

bool IsValveOrPortDimension(int id) { return id == 105 || id == 108 || (id >= 110 && id <= 121); }

bool IsRodOrLinkLength(int id) {
    switch (id) {
    case 3:   // main rod
    case 8:   // eccentric rods
    case 9:
    case 11:  // expansion link: its support pin and its eccentric rod pin
    case 12:  //   (the slot's length, 10, is no pin spacing)
    case 14:  // lift links
    case 15:
    case 16:  // radius rod
    case 17:
    case 18:  // lift arms
    case 20:
    case 22:  // reverse arm
    case 30:  // rocker arms
    case 32:
    case 106: // piston rod
    case 122: // valve stem
        return true;
    default: return false;
    }
}

ToleranceSettings DefaultToleranceSettings() {
    ToleranceSettings s;
    SetAllTolerances(s, false, kDefaultLengthTolerance);
    SetAllTolerances(s, true, kDefaultAngleTolerance);
    return s;
}

void ClearTolerances(ToleranceSettings& s) { s.tolerance.fill(0); }

void SetAllTolerances(ToleranceSettings& s, bool angles, float t) {
    const auto all = AllDimensions();
    for (std::size_t i = 0; i < all.size() && i < s.tolerance.size(); ++i) {
        const int id = all[i].id;
        if (IsToleranceExempt(id) || IsAngleDimension(id) != angles) continue;
        s.tolerance[i] = t;
    }
}

void LeaveOutValveAndPorts(ToleranceSettings& s) {
    const auto all = AllDimensions();
    for (std::size_t i = 0; i < all.size() && i < s.tolerance.size(); ++i)
        if (IsValveOrPortDimension(all[i].id)) s.tolerance[i] = 0;
}

float& ToleranceOf(ToleranceSettings& s, int id) { return s.tolerance[static_cast<std::size_t>(IndexOf(id))]; }
float ToleranceOf(const ToleranceSettings& s, int id) {
    const int i = IndexOf(id);
    return i < 0 ? 0.0f : s.tolerance[static_cast<std::size_t>(i)];
}

std::string CheckToleranceSettings(const ToleranceSettings& s) {
    const auto all = AllDimensions();
    for (std::size_t i = 0; i < all.size() && i < s.tolerance.size(); ++i) {
        const float t = s.tolerance[i];
        if (!std::isfinite(t) || t < 0)
            return "the tolerance of " + std::string(all[i].field) + " must be a finite number, not negative; got " +
                   Number(t);
    }
    if (!std::isfinite(s.wear) || s.wear < 0)
        return "the wear must be a finite number, not negative; got " + Number(s.wear);
    if (s.samples < 1 || s.samples > kMaxToleranceSamples)
        return "the samples must number 1 to " + std::to_string(kMaxToleranceSamples) + ", got " +
               std::to_string(s.samples);
    if (!std::isfinite(s.threshold) || s.threshold < 0)
        return "the threshold must be a finite number, not negative; got " + Number(s.threshold);
    if (s.offsets.size() > kMaxSensitivityPositions)
        return "at most " + std::to_string(kMaxSensitivityPositions) + " positions";
    for (const double o : s.offsets)
        if (!std::isfinite(o)) return "the positions must be finite numbers";
    if (s.threads < 0 || s.threads > 64) return "the threads must number 0 (one per core) to 64";
    return {};
}

bool ToleranceResult::Closes() const {
    return std::all_of(positions.begin(), positions.end(),
                       [](const TolerancePosition& p) { return p.nominal.Closes(); });
}

SampleStream::SampleStream(std::uint64_t seed, std::uint64_t index) : state_(Mix(Mix(seed) ^ index)) {}

double SampleStream::Next() {
    state_ += 0x9E3779B97F4A7C15ull;
    return static_cast<double>(Mix(state_) >> 11) * 0x1.0p-53;
}

std::array<float, kDimensionCount> SampleDimensions(const GearState& g, const ToleranceSettings& s, int index) {
    std::array<float, kDimensionCount> v{};
    SampleStream stream(s.seed, static_cast<std::uint64_t>(index));
    const auto all = AllDimensions();
    for (std::size_t i = 0; i < all.size() && i < v.size(); ++i) {
        const int id = all[i].id;
        const float value = DimensionValue(g, all[i]);
        double delta = 0;
        if (s.tolerance[i] > 0) delta += D(s.tolerance[i]) * (2 * stream.Next() - 1);
        if (s.wear > 0 && IsRodOrLinkLength(id)) delta += D(s.wear) * (2 * stream.Next() - 1);
        v[i] = delta == 0 ? value : F(D(value) + delta);
    }
    return v;
}

ToleranceResult RunTolerance(const GearState& g, const ToleranceSettings& s, const AnalysisProgressFn& progress) {
    ToleranceResult r;
    r.error = CheckToleranceSettings(s);
    if (!r.error.empty()) return r;
    r.samples = s.samples;
    r.threshold = s.threshold;

    const std::vector<double> nominalPositions = PositionsFromOffsets(g, s.offsets, s.solve);
    const std::size_t np = nominalPositions.size();
    ComputeNominalPositions(g, nominalPositions, s.direction, r.positions, s.solve);
    for (TolerancePosition& tp : r.positions) {
        const EventFigures f = FiguresOf(tp.nominal);
        for (int k = 0; k < kEventFigureCount; ++k)
            tp.figures[static_cast<std::size_t>(k)].nominal =
                tp.nominal.Closes() ? f[static_cast<std::size_t>(k)] : std::nullopt;
    }

    const auto n = static_cast<std::size_t>(s.samples);
    const std::size_t perChunk = std::clamp<std::size_t>(kValueBudget / (n * kEventFigureCount), 1, std::max<std::size_t>(np, 1));
    JobPool pool(JobPool::ThreadsFor(s.samples, s.threads));
    std::vector<GearState> scratch(static_cast<std::size_t>(pool.Threads()), g);
    std::vector<float> values;
    std::vector<char> failed;
    const long long total = static_cast<long long>(n) * static_cast<long long>(np);
    long long done = 0;
    const auto all = AllDimensions();

    for (std::size_t p0 = 0; p0 < np; p0 += perChunk) {
        const std::size_t p1 = std::min(np, p0 + perChunk);
        const std::size_t width = p1 - p0;
        values.assign(n * width * kEventFigureCount, kMissing);
        failed.assign(n * width, 0);
        const auto sampleJob = [&](std::size_t i, int worker) {
            GearState& w = scratch[static_cast<std::size_t>(worker)];
            w = g;
            const auto v = SampleDimensions(g, s, static_cast<int>(i));
            bool changed = false;
            for (std::size_t k = 0; k < all.size(); ++k) {
                if (std::bit_cast<std::uint32_t>(v[k]) == std::bit_cast<std::uint32_t>(DimensionValue(g, all[k])))
                    continue;
                CommitDimension(w, all[k].id, v[k]);
                changed = true;
            }
            char* fail = &failed[i * width];
            float* out = &values[i * width * kEventFigureCount];
            const bool midGear = !changed || (s.solve == SolveMode::Exact ? ExactMidGearOf(w).has_value()
                                                                          : FindMidGear(w) == MidGearResult::Found);
            if (!midGear) {
                std::fill(fail, fail + width, char{1});
                return;
            }
            const std::vector<double> positions =
                changed ? PositionsFromOffsets(w, s.offsets, s.solve) : nominalPositions;
            PositionEvents e;
            for (std::size_t p = p0; p < p1; ++p) {
                const TolerancePosition& tp = r.positions[p];
                const EventDirection dir = tp.forward ? EventDirection::Forward : EventDirection::Reverse;
                ComputeValveEvents(w, positions[p], dir, e, s.solve, EventDetail::Figures);
                if (!e.Closes()) {
                    fail[p - p0] = 1;
                    continue;
                }
                const EventFigures f = FiguresOf(e);
                for (int k = 0; k < kEventFigureCount; ++k) {
                    const auto& x = f[static_cast<std::size_t>(k)];
                    out[(p - p0) * kEventFigureCount + static_cast<std::size_t>(k)] = x ? F(*x) : kMissing;
                }
            }
        };
        const std::size_t batch = static_cast<std::size_t>(BatchSize(pool));
        for (std::size_t start = 0; start < n; start += batch) {
            const int count = static_cast<int>(std::min(batch, n - start));
            pool.Run(count, [&](int k, int worker) { sampleJob(start + static_cast<std::size_t>(k), worker); });
            done += static_cast<long long>(count) * static_cast<long long>(width);
            if (progress && !progress(done, total)) {
                r.cancelled = true;
                r.positions.clear();
                return r;
            }
        }

        // The spread of each position of the chunk, in sample order.
        std::vector<float> column;
        column.reserve(n);
        for (std::size_t p = p0; p < p1; ++p) {
            TolerancePosition& tp = r.positions[p];
            for (std::size_t i = 0; i < n; ++i) tp.linkageFailures += failed[i * width + (p - p0)];
            for (int k = 0; k < kEventFigureCount; ++k) {
                column.clear();
                for (std::size_t i = 0; i < n; ++i) {
                    const float x = values[(i * width + (p - p0)) * kEventFigureCount + static_cast<std::size_t>(k)];
                    if (std::isfinite(x)) column.push_back(x);
                }
                if (k == static_cast<int>(EventFigure::CutOffDiff)) {
                    Histogram(tp, column);
                    const auto over = std::count_if(column.begin(), column.end(), [&](float d) {
                        return std::fabs(D(d)) > D(s.threshold);
                    });
                    // Of the samples that gave a cut-off difference: a sample
                    // that failed has none to be over or under with.
                    tp.overThreshold =
                        column.empty() ? 0.0f : F(static_cast<double>(over) / static_cast<double>(column.size()));
                }
                Spread(tp.figures[static_cast<std::size_t>(k)], column, s.samples);
            }
        }
    }
    return r;
}

std::string ToleranceCsv(const ToleranceResult& r, Digits digits) {
    std::string out(kToleranceCsvHeader);
    if (!r.Ok()) return out;
    for (const TolerancePosition& tp : r.positions) {
        for (int k = 0; k < kEventFigureCount; ++k) {
            const auto f = static_cast<EventFigure>(k);
            const FigureSpread& sp = tp.figures[static_cast<std::size_t>(k)];
            const int decimals = IsLeadFigure(f) ? 5 : 4;
            AppendFigure(out, tp.position, 6, digits);
            out += tp.forward ? ",forward," : ",reverse,";
            out += EventFigureName(f);
            out += ',';
            if (!tp.nominal.Closes()) out += "fails";
            else if (sp.nominal) AppendFigure(out, *sp.nominal, decimals, digits);
            for (const float v : {sp.min, sp.p05, sp.median, sp.p95, sp.max}) {
                out += ',';
                if (sp.count > 0) AppendFigure(out, v, decimals, digits);
            }
            out += ',';
            AppendFigure(out, tp.overThreshold, 4, digits);
            out += ',';
            AppendFigure(out, sp.failed, 4, digits);
            out += '\n';
        }
    }
    return out;
}

std::string ToleranceText(const ToleranceResult& r, const FigureStyle& style) {
    const Digits digits = style.digits;
    std::string out;
    if (!r.Ok()) return out;
    for (std::size_t p = 0; p < r.positions.size(); ++p) {
        const TolerancePosition& tp = r.positions[p];
        if (p > 0) out += '\n';
        AppendPositionHeading(out, tp, digits);
        out += std::to_string(r.samples) + " samples, ";
        out += std::to_string(tp.linkageFailures) + " not closing; ";
        AppendFigure(out, 100.0 * D(tp.overThreshold), 1, digits);
        out += " % of the closing samples with a cut-off difference over ";
        AppendFigure(out, r.threshold, 2, digits);
        out += " points\n";
        if (!tp.nominal.Closes()) out += "  the design itself does not close here\n";
        out += "  figure              nominal       min       5 %    median      95 %       max   failed\n";
        for (int k = 0; k < kEventFigureCount; ++k) {
            const auto f = static_cast<EventFigure>(k);
            const FigureSpread& sp = tp.figures[static_cast<std::size_t>(k)];
            const int decimals = IsLeadFigure(f) ? 5 : 3;
            const std::size_t start = out.size();
            out += "  ";
            out += IsLeadFigure(f) ? LabelWithUnit(EventFigureName(f), style.unit) : std::string(EventFigureName(f));
            out.append(start + 18 > out.size() ? start + 18 - out.size() : 0, ' ');
            const auto column = [&](std::optional<float> v) {
                if (v) {
                    AppendFigure(out, *v, decimals, digits, 10);
                } else {
                    out.append(9, ' ');
                    out += '-';
                }
            };
            column(sp.nominal);
            for (const float v : {sp.min, sp.p05, sp.median, sp.p95, sp.max})
                column(sp.count > 0 ? std::optional<float>(v) : std::nullopt);
            AppendFigure(out, 100.0 * D(sp.failed), 1, digits, 8);
            out += " %\n";
        }
    }
    return out;
}

} // namespace vx
