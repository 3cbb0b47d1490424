// The work of the cylinder ends: the nine notches' events alone and with
// their indicator cards (the cards must add little to the events), the
// cards alone, and the work window's update after a bar step.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include <array>
#include <memory>

#include "bench/alloc_counter.h"
#include "bench/bar_step.h"
#include "bench/qt_app.h"
#include "gui/diagrams/work_window.h"
#include "model/workspace/defaults.h"
#include "model/workspace/dynvar.h"
#include "model/analysis/valve_events.h"
#include "model/analysis/work.h"

namespace {

// The events of the nine notches and the two cards of each: compare with
// BM_ValveEventsNineNotches.
void BM_WorkNineNotches(benchmark::State& state) {
    vx::GearState g;
    vx::StartUp(g);
    const auto notches = vx::NotchPositions(g);
    vx::GearState work = g;
    std::array<vx::PositionEvents, vx::kNotchCount> events;
    std::array<vx::PositionWork, vx::kNotchCount> cards;
    const vx::WorkSettings settings;
    const vx::WorkDimensions dims = vx::WorkDimensionsOf(g);
    const auto before = vx::bench::AllocationCount();
    for (auto _ : state) {
        for (std::size_t i = 0; i < notches.size(); ++i) {
            vx::ComputeValveEvents(work, notches[i], vx::EventDirection::Auto, events[i]);
            vx::ComputeWork(events[i], settings, dims, cards[i]);
        }
        benchmark::DoNotOptimize(cards.data());
    }
    vx::bench::ReportAllocations(state, before);
}
BENCHMARK(BM_WorkNineNotches)->Unit(benchmark::kMillisecond);

// The cards alone, from events found once: what the work adds.
void BM_WorkCardsOfNineNotches(benchmark::State& state) {
    vx::GearState g;
    vx::StartUp(g);
    const auto notches = vx::NotchPositions(g);
    std::array<vx::PositionEvents, vx::kNotchCount> events;
    vx::ComputeValveEventsTable(g, notches, vx::EventDirection::Auto, events);
    std::array<vx::PositionWork, vx::kNotchCount> cards;
    vx::WorkSettings settings;
    settings.exponent = 1.3f; // the power forms
    const vx::WorkDimensions dims = vx::WorkDimensionsOf(g);
    for (auto _ : state) {
        for (std::size_t i = 0; i < notches.size(); ++i) vx::ComputeWork(events[i], settings, dims, cards[i]);
        benchmark::DoNotOptimize(cards.data());
    }
}
BENCHMARK(BM_WorkCardsOfNineNotches)->Unit(benchmark::kMicrosecond);

// The window open on the nine notches with the valve rod on bar 1: each
// iteration is one trough click (+0.01) and the coalesced redraw it queues:
// the nine positions' events and cards (the listed positions are the
// notches, solved once) and the picture drawn. Compare with
// BM_EventsWindowBarStep.
void BM_WorkWindowBarStep(benchmark::State& state) { vx::bench::RunBarStep<vx::TWorkDia>(state, "SBDynVarW1"); }
BENCHMARK(BM_WorkWindowBarStep)->Unit(benchmark::kMillisecond);

} // namespace
