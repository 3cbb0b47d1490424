// Sensitivity and tolerance: the derivatives of every event figure to
// every dimension at the nine notches, and a tolerance and wear run of
// 1000 samples at four notches (default tolerances and 0.001 wear), each
// on one thread and on one per core.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/workspace/defaults.h"
#include "model/analysis/sensitivity.h"
#include "model/analysis/tolerance.h"
#include "tests/kit/designs.h"

namespace {

// Arg: threads (0: one per core).
void BM_SensitivityNineNotches(benchmark::State& state) {
    const auto g = vx::test::StartedDesign();
    vx::SensitivitySettings s;
    s.threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const vx::SensitivityResult r = vx::ComputeSensitivity(*g, s);
        if (!r.Ok() || r.entries.size() != 9u * 54u * vx::kEventFigureCount) state.SkipWithError("no result");
        benchmark::DoNotOptimize(r.entries.data());
    }
}
BENCHMARK(BM_SensitivityNineNotches)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_Tolerance1000SamplesFourNotches(benchmark::State& state) {
    const auto g = vx::test::StartedDesign();
    vx::ToleranceSettings s = vx::DefaultToleranceSettings();
    const double norm = g->frame.revArmToCentNorm;
    s.offsets = {-norm, -norm / 2, norm / 2, norm};
    s.wear = 0.001f;
    s.samples = 1000;
    s.threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const vx::ToleranceResult r = vx::RunTolerance(*g, s);
        if (!r.Ok() || r.positions.size() != 4) state.SkipWithError("no result");
        benchmark::DoNotOptimize(r.positions.data());
    }
}
BENCHMARK(BM_Tolerance1000SamplesFourNotches)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
