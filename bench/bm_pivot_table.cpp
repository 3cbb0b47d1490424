// The pivot data table at the smallest step angle: 36,000 rows, one solve
// each, six picked pivots.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench/alloc_counter.h"
#include "data/pivot_table.h"
#include "model/workspace/defaults.h"
#include "tests/kit/designs.h"

namespace {

void BM_PivotTable(benchmark::State& state) {
    auto g = vx::test::StartedDesign();
    g->motion.selectedStep = 0.01f;
    const vx::PivotPicks picks = {2, 3, 4, 8, 10, 18};
    std::string text;
    vx::BuildPivotTable(*g, picks, "10 Dec 2026", "12:00:00", text);
    const auto before = vx::bench::AllocationCount();
    for (auto _ : state) {
        vx::BuildPivotTable(*g, picks, "10 Dec 2026", "12:00:00", text);
        benchmark::DoNotOptimize(text.data());
    }
    state.counters["rows"] = static_cast<double>(vx::PivotTableRowCount(0.01f));
    state.counters["bytes"] = static_cast<double>(text.size());
    state.counters["allocs"] = benchmark::Counter(static_cast<double>(vx::bench::AllocationCount() - before),
                                                  benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PivotTable)->Unit(benchmark::kMillisecond);

} // namespace

// The window's part: the table rebuilt on activation and loaded into the
// text box (36,000 lines), offscreen.
#include <QApplication>

#include "bench/qt_app.h"
#include <QPlainTextEdit>
#include <cstdlib>

#include "gui/main/pivot_table_window.h"
#include "platform/clock.h"

namespace {

void BM_PivotTableWindow(benchmark::State& state) {
    vx::bench::EnsureQtApp();
    auto g = vx::test::StartedDesign();
    g->motion.selectedStep = 0.01f;
    for (int k = 1; k <= vx::kPickSlots; ++k) g->pickPivot[static_cast<std::size_t>(k)] = static_cast<float>(k + 1);
    vx::FixedClock clock("10 Dec 2026", "12:00:00");
    vx::TDataTable table(*g, clock);
    table.show();
    for (auto _ : state) {
        table.FormActivate();
        QApplication::processEvents(); // the first paint of the loaded text
        benchmark::DoNotOptimize(table.Memo()->document()->blockCount());
    }
    state.counters["lines"] = static_cast<double>(table.Memo()->document()->blockCount());
}
BENCHMARK(BM_PivotTableWindow)->Unit(benchmark::kMillisecond);

} // namespace
