// Counts heap allocations made through operator new in the benchmark
// process, so a benchmark can report allocations per iteration.
#pragma once

#include <cstdint>

namespace vx::bench {
std::uint64_t AllocationCount();
} // namespace vx::bench
