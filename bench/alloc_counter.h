// Counts heap allocations made through operator new in the benchmark
// process, so a benchmark can report allocations per iteration.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>

namespace vx::bench {

std::uint64_t AllocationCount();

// Reports the allocations made since `before` as "allocs_per_iter".
inline void ReportAllocations(benchmark::State& state, std::uint64_t before) {
    const auto made = AllocationCount() - before;
    state.counters["allocs_per_iter"] =
        benchmark::Counter(static_cast<double>(made), benchmark::Counter::kAvgIterations);
}

} // namespace vx::bench
