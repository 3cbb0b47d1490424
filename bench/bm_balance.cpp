// Balancing the valve events: one evaluation of the objective (the four
// forward notches, each on its own design copy, spread over the cores) and
// the whole default squaring problem, search included.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/analysis/balance.h"
#include "model/workspace/defaults.h"
#include "model/gear/dimensions.h"
#include "tests/kit/designs.h"

namespace {

// valveCtrToJoint, eccFwdRod, radRodTotalLength and exLinkEccRodBackSet,
// each within +- 0.1, over the four forward notches, cut-off alone.
vx::BalanceProblem SquaringProblem(const vx::GearState& g) {
    vx::BalanceProblem p = vx::DefaultBalanceProblem(g);
    for (const char* field : {"valveCtrToJoint", "eccFwdRod", "radRodTotalLength", "exLinkEccRodBackSet"}) {
        const vx::DimensionInfo* d = vx::FindDimensionByField(field);
        const float v = vx::DimensionValue(g, *d);
        p.vary.push_back({d->id, static_cast<float>(v - 0.1), static_cast<float>(v + 0.1)});
    }
    p.weights = {1, 0, 0, 0};
    return p;
}

// Arg: threads (0: one per core, at most one per position).
void BM_BalanceEvaluation(benchmark::State& state) {
    const auto g = vx::test::StartedDesign();
    vx::BalanceProblem p = SquaringProblem(*g);
    p.threads = static_cast<int>(state.range(0));
    for (auto _ : state) {
        const vx::BalanceEvaluation e = vx::EvaluateBalance(*g, p);
        benchmark::DoNotOptimize(e.objective);
    }
}
BENCHMARK(BM_BalanceEvaluation)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_BalanceSquaringProblem(benchmark::State& state) {
    const auto g = vx::test::StartedDesign();
    const vx::BalanceProblem p = SquaringProblem(*g);
    for (auto _ : state) {
        const vx::BalanceResult r = vx::BalanceEvents(*g, p);
        benchmark::DoNotOptimize(r.after.objective);
        state.counters["evaluations"] = r.evaluations;
        state.counters["worstCutOffDifference"] = r.after.worstCutOffDifference;
    }
}
BENCHMARK(BM_BalanceSquaringProblem)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
