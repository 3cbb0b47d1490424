// Sensitivity and tolerance: the derivatives of every event figure to
// every dimension at the nine notches, and a tolerance and wear run of
// 1000 samples at four notches (default tolerances and 0.001 wear), each
// on one thread and on one per core, on the exact solve (second argument
// 1) and the classic one (0).
#include <benchmark/benchmark.h>

#include <memory>

#include "model/workspace/defaults.h"
#include "model/analysis/sensitivity.h"
#include "model/analysis/tolerance.h"
#include "tests/kit/designs.h"

namespace {

vx::SolveMode SolveOf(const benchmark::State& state) {
    return state.range(1) != 0 ? vx::SolveMode::Exact : vx::SolveMode::Classic;
}

// Args: threads (0: one per core), exact (1) or classic (0).
void BM_SensitivityNineNotches(benchmark::State& state) {
    const auto g = vx::test::StartedDesign();
    vx::SensitivitySettings s;
    s.threads = static_cast<int>(state.range(0));
    s.solve = SolveOf(state);
    for (auto _ : state) {
        const vx::SensitivityResult r = vx::ComputeSensitivity(*g, s);
        if (!r.Ok() || r.entries.size() != 9u * 54u * vx::kEventFigureCount) state.SkipWithError("no result");
        benchmark::DoNotOptimize(r.entries.data());
    }
}
BENCHMARK(BM_SensitivityNineNotches)
    ->ArgsProduct({{1, 0}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void BM_Tolerance1000SamplesFourNotches(benchmark::State& state) {
    const auto g = vx::test::StartedDesign();
    vx::ToleranceSettings s = vx::DefaultToleranceSettings();
    const double norm = g->frame.revArmToCentNorm;
    s.offsets = {-norm, -norm / 2, norm / 2, norm};
    s.wear = 0.001f;
    s.samples = 1000;
    s.threads = static_cast<int>(state.range(0));
    s.solve = SolveOf(state);
    for (auto _ : state) {
        const vx::ToleranceResult r = vx::RunTolerance(*g, s);
        if (!r.Ok() || r.positions.size() != 4) state.SkipWithError("no result");
        benchmark::DoNotOptimize(r.positions.data());
    }
}
BENCHMARK(BM_Tolerance1000SamplesFourNotches)
    ->ArgsProduct({{1, 0}, {0, 1}})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace
