// Saving and opening a design through a dimension data file.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "data/dimension_file.h"
#include "model/workspace/defaults.h"
#include "tests/kit/designs.h"

namespace {

void BM_FileRoundTrip(benchmark::State& state) {
    auto g = vx::test::StartedDesign();
    const std::string path =
        (std::filesystem::temp_directory_path() / ("vexlin_bm_" + std::to_string(::getpid()) + ".vxd")).string();
    for (auto _ : state) {
        const vx::FileResult saved = vx::SaveDesign(*g, path);
        const vx::FileResult opened = vx::OpenDesign(*g, path);
        if (!saved.ok || !opened.ok) {
            state.SkipWithError("save or open failed");
            break;
        }
        benchmark::DoNotOptimize(g->revArm.centre);
    }
    std::remove(path.c_str());
}
BENCHMARK(BM_FileRoundTrip);

} // namespace
