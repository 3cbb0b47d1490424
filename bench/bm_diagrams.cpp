// The valve diagrams as their windows draw them: onto the window's reused
// picture, cleared first, with the positions the mid-gear search sets.
#include <benchmark/benchmark.h>

#include "bench/alloc_counter.h"
#include "bench/qt_app.h"
#include "scene/diagrams/oval_diagram.h"
#include "scene/diagrams/sine_diagram.h"
#include "model/workspace/defaults.h"
#include "platform/qt/qt_image_canvas.h"
#include "tests/kit/designs.h"

namespace {

// The default design with its three positions (mid gear, normal forward,
// normal reverse) and the dynamic-variable block and undo line shown.
vx::GearState DiagramGear() {
    vx::GearState g = *vx::test::StartedDesign();
    g.revArm.positionCount = 3;
    g.dynVarDisplay = g.undoDisplay = true;
    return g;
}

template <void (*Draw)(const vx::GearState&, vx::Canvas&, vx::LeadLapTable*)>
void RunDiagram(benchmark::State& state, int height) {
    vx::bench::EnsureQtApp();
    vx::GearState g = DiagramGear();
    vx::QImageCanvas canvas(vx::kDiagramWidth, height);
    canvas.Clear(vx::colors::kWhite);
    Draw(g, canvas, nullptr); // warm up fonts and caches
    const auto before = vx::bench::AllocationCount();
    for (auto _ : state) {
        canvas.Clear(vx::colors::kWhite);
        Draw(g, canvas, nullptr);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
    vx::bench::ReportAllocations(state, before);
}

void BM_SineDiagram(benchmark::State& state) { RunDiagram<vx::DrawSineDiagram>(state, vx::kSineDiagramHeight); }
BENCHMARK(BM_SineDiagram)->Unit(benchmark::kMillisecond);

void BM_OvalDiagram(benchmark::State& state) { RunDiagram<vx::DrawOvalDiagram>(state, vx::kOvalDiagramHeight); }
BENCHMARK(BM_OvalDiagram)->Unit(benchmark::kMillisecond);

} // namespace
