// The gear model's hot paths: one solve, the mid-gear search and a sweep.
#include <benchmark/benchmark.h>

#include "bench/alloc_counter.h"
#include "model/workspace/defaults.h"
#include "model/gear/midgear.h"
#include "model/gear/ports.h"
#include "model/gear/solver.h"
#include "tests/kit/plain_solver.h"
#include "tests/kit/designs.h"

namespace {

// Args: driver angle in degrees, reverse arm offset from mid gear in 1/1000.
void BM_SolveLinkage(benchmark::State& state) {
    vx::GearState g = *vx::test::StartedDesign();
    g.motion.driverAngle = static_cast<float>(state.range(0));
    g.motion.reverseArmPosition = g.revArm.centre + static_cast<float>(state.range(1)) / 1000.0f;
    vx::SolveLinkage(g);
    const auto before = vx::bench::AllocationCount();
    for (auto _ : state) {
        vx::SolveLinkage(g);
        benchmark::DoNotOptimize(g.piv.x[4]);
    }
    state.counters["allocs"] = static_cast<double>(vx::bench::AllocationCount() - before);
}
BENCHMARK(BM_SolveLinkage)->ArgsProduct({{0, 90, 225}, {-1000, 0, 1000}});

// A tenth-degree turn at mid gear, by the solver and by the straightforward
// solve it must equal bit for bit, side by side.
template <bool (*Solve)(vx::GearState&)>
void SolveTurn(benchmark::State& state) {
    vx::GearState g = *vx::test::StartedDesign();
    for (auto _ : state) {
        for (int k = 0; k < 3600; ++k) {
            g.motion.driverAngle = static_cast<float>(k) * 0.1f;
            Solve(g);
        }
        benchmark::DoNotOptimize(g.piv.x[4]);
    }
    state.SetItemsProcessed(state.iterations() * 3600);
}
void BM_SolveTurn(benchmark::State& state) { SolveTurn<vx::SolveLinkage>(state); }
void BM_SolveTurnPlain(benchmark::State& state) { SolveTurn<vx::test::PlainSolveLinkage>(state); }
BENCHMARK(BM_SolveTurn)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SolveTurnPlain)->Unit(benchmark::kMillisecond);

void BM_FindMidGear(benchmark::State& state) {
    vx::GearState g = *vx::test::StartedDesign();
    for (auto _ : state) {
        vx::FindMidGear(g);
        benchmark::DoNotOptimize(g.revArm.centre);
    }
}
BENCHMARK(BM_FindMidGear);

// A whole 0.01-degree turn: 36,001 solves with their port openings.
void BM_Sweep(benchmark::State& state) {
    vx::GearState g = *vx::test::StartedDesign();
    const auto before = vx::bench::AllocationCount();
    for (auto _ : state) {
        for (int k = 0; k <= 36000; ++k) {
            g.motion.driverAngle = static_cast<float>(k * 0.01);
            vx::SolveLinkage(g);
            vx::ComputePortOpenings(g);
        }
        benchmark::DoNotOptimize(g.ports.frontSteamOpening);
    }
    state.counters["allocs"] = static_cast<double>(vx::bench::AllocationCount() - before);
    state.SetItemsProcessed(state.iterations() * 36001);
}
BENCHMARK(BM_Sweep)->Unit(benchmark::kMillisecond);

} // namespace
