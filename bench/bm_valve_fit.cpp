// Setting the valves: the fit of six dimensions to 24 measured events (the
// default design built with known errors, measured at four notches with
// noise), covariance and warnings included.
#include <benchmark/benchmark.h>

#include <cmath>

#include "model/analysis/valve_fit.h"
#include "model/gear/dimensions.h"
#include "tests/kit/designs.h"
#include "tests/kit/measured_engine.h"

namespace {

void BM_ValveFitSixDimensions(benchmark::State& state) {
    const auto drawing = vx::test::StartedDesign();
    const auto built = vx::test::BuiltEngine(*drawing, vx::test::kBuildErrors);
    const double norm = drawing->frame.revArmToCentNorm;
    const double notches[] = {-norm, -norm / 2, norm / 2, norm};
    vx::ValveFitProblem p;
    p.measurements = vx::test::MeasureEngine(*built, notches, 0.05, 12345, 0.05 / std::sqrt(3.0));
    for (const char* f : {"valveCtrToJoint", "eccFwdRod", "eccFwdAngle", "eccRevRod", "eccRevAngle", "rockerLowerLength"})
        p.vary.push_back(vx::DefaultFitDimension(*drawing, vx::FindDimensionByField(f)->id));
    if (p.measurements.size() != 24) state.SkipWithError("the engine did not give 24 measurements");
    for (auto _ : state) {
        const vx::ValveFitResult r = vx::FitValveSetting(*drawing, p);
        if (!r.Ok() || !r.closes) state.SkipWithError("the fit failed");
        benchmark::DoNotOptimize(r.rms);
        state.counters["designs"] = r.evaluations;
        state.counters["rms"] = r.rms;
    }
}
BENCHMARK(BM_ValveFitSixDimensions)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
