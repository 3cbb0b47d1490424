// The main picture: composing a frame, and a whole animation tick (model
// work, then the frame into the reused 1280 x 1024 image). Each reports the
// operator new calls per iteration, which must be 0 after the first tick.
// The model headers come before Qt's: Qt defines "slots" as a macro.
#include "scene/frame/dimension_locator_layer.h"
#include "scene/frame/frame_renderer.h"
#include "model/workspace/defaults.h"
#include "model/workspace/motion.h"
#include "model/workspace/frame_advance.h"
#include "platform/qt/qt_image_canvas.h"
#include "platform/random.h"
#include "bench/alloc_counter.h"

#include <benchmark/benchmark.h>

#include "bench/qt_app.h"
#include "tests/kit/designs.h"

#include <memory>
#include <utility>

namespace {

// One frame of the stopped gear. Arguments: screen data (0 off, 1 on), steam
// display (0 off, 1 on), zoom in tenths (285 = the normal 28.5).
void BM_ComposeFrame(benchmark::State& state) {
    vx::bench::EnsureQtApp();
    auto g = vx::test::StartedDesign();
    g->screenDataOn = state.range(0) != 0;
    g->steamDisplayOn = state.range(1) != 0;
    g->view.zoom = static_cast<float>(state.range(2)) / 10.0f;
    g->motion.driverAngle = 30;
    g->motion.tickStep = 0;
    vx::AdvanceFrame(*g); // what the frame shows: its steam, its readouts
    vx::QImageCanvas canvas(vx::kFrameWidth, vx::kFrameHeight);
    vx::LcgRandom random(1);
    const vx::FrameServices services{&random};
    vx::ComposeFrame(*g, canvas, services); // first frame: whatever is made once
    const auto before = vx::bench::AllocationCount();
    for (auto _ : state) {
        vx::ComposeFrame(*g, canvas, services);
        benchmark::DoNotOptimize(std::as_const(canvas).Image().constBits());
    }
    vx::bench::ReportAllocations(state, before);
}
BENCHMARK(BM_ComposeFrame)
    ->ArgNames({"screenData", "steam", "zoom10"})
    ->Args({0, 0, 285})
    ->Args({1, 0, 285})
    ->Args({1, 1, 285})
    ->Args({1, 1, 2500});

// The running gear at the default step of 10 degrees, as the window's timer
// drives it.
void BM_Tick(benchmark::State& state) {
    vx::bench::EnsureQtApp();
    auto g = vx::test::StartedDesign();
    vx::QImageCanvas canvas(vx::kFrameWidth, vx::kFrameHeight);
    vx::AdvanceFrame(*g);
    vx::ComposeFrame(*g, canvas); // the first tick
    const auto before = vx::bench::AllocationCount();
    for (auto _ : state) {
        vx::AdvanceFrame(*g);
        vx::ComposeFrame(*g, canvas);
        benchmark::DoNotOptimize(std::as_const(canvas).Image().constBits());
    }
    vx::bench::ReportAllocations(state, before);
}
BENCHMARK(BM_Tick);

// A frame with the dimension locator over the gear, walking all its ids
// (each one's view, lines and name).
void BM_LocatorFrame(benchmark::State& state) {
    vx::bench::EnsureQtApp();
    auto g = vx::test::StartedDesign();
    g->motion.tickStep = 0;
    vx::QImageCanvas canvas(vx::kFrameWidth, vx::kFrameHeight);
    const auto ids = vx::LocatorIds();
    std::size_t i = 0;
    for (int id : ids) { // every id once: whatever is made once
        g->locatorDimension = id;
        vx::AdvanceFrame(*g);
        vx::ComposeFrame(*g, canvas);
    }
    const auto before = vx::bench::AllocationCount();
    for (auto _ : state) {
        g->locatorDimension = ids[i++ % ids.size()];
        g->locatorFrameCount = 1; // never the last frame
        vx::AdvanceFrame(*g);
        vx::ComposeFrame(*g, canvas);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
    vx::bench::ReportAllocations(state, before);
}
BENCHMARK(BM_LocatorFrame);

} // namespace
