// The exact valve events: the nine notches of the default design (both
// ends), the events window's update after a bar step, and the design
// report written as a PDF.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QScrollBar>
#include <QTemporaryDir>

#include <array>

#include "bench/alloc_counter.h"
#include "bench/bar_step.h"
#include "bench/qt_app.h"
#include "export/report_file.h"
#include "gui/diagrams/valve_events_window.h"
#include "model/workspace/defaults.h"
#include "model/workspace/dynvar.h"
#include "model/analysis/valve_events.h"

namespace {

// Arg: the exact solve (1) or the classic one (0).
void BM_ValveEventsNineNotches(benchmark::State& state) {
    vx::GearState g;
    vx::StartUp(g);
    const vx::SolveMode solve = state.range(0) != 0 ? vx::SolveMode::Exact : vx::SolveMode::Classic;
    const auto notches = vx::NotchPositions(g, solve);
    vx::GearState work = g;
    std::array<vx::PositionEvents, vx::kNotchCount> events;
    const auto before = vx::bench::AllocationCount();
    for (auto _ : state) {
        for (std::size_t i = 0; i < notches.size(); ++i) {
            vx::ComputeValveEvents(work, notches[i], vx::EventDirection::Auto, events[i], solve);
        }
        benchmark::DoNotOptimize(events.data());
    }
    vx::bench::ReportAllocations(state, before);
}
BENCHMARK(BM_ValveEventsNineNotches)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The figures alone, as the sensitivity and tolerance find them.
void BM_ValveEventFiguresNineNotches(benchmark::State& state) {
    vx::GearState g;
    vx::StartUp(g);
    const vx::SolveMode solve = state.range(0) != 0 ? vx::SolveMode::Exact : vx::SolveMode::Classic;
    const auto notches = vx::NotchPositions(g, solve);
    vx::GearState work = g;
    std::array<vx::PositionEvents, vx::kNotchCount> events;
    for (auto _ : state) {
        for (std::size_t i = 0; i < notches.size(); ++i) {
            vx::ComputeValveEvents(work, notches[i], vx::EventDirection::Auto, events[i], solve,
                                   vx::EventDetail::Figures);
        }
        benchmark::DoNotOptimize(events.data());
    }
}
BENCHMARK(BM_ValveEventFiguresNineNotches)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// The window open on the nine notches with the valve rod on bar 1: each
// iteration is one trough click (+0.01) and the coalesced redraw it queues:
// the events of the nine positions computed again and the tables drawn.
void BM_EventsWindowBarStep(benchmark::State& state) { vx::bench::RunBarStep<vx::TEventsDia>(state, "SBDynVarE1"); }
BENCHMARK(BM_EventsWindowBarStep)->Unit(benchmark::kMillisecond);

void BM_DesignReport(benchmark::State& state) {
    vx::bench::EnsureQtApp();
    vx::GearState g;
    vx::StartUp(g);
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("report.pdf"));
    for (auto _ : state) {
        const QString failure = vx::WriteReport(g, vx::Paper::A4, file);
        if (!failure.isEmpty()) state.SkipWithError(failure.toStdString().c_str());
    }
}
BENCHMARK(BM_DesignReport)->Unit(benchmark::kMillisecond);

} // namespace
