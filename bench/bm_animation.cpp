// The animation the command line and the main window write: one revolution
// of the default design at 10 degrees per tick (36 frames), drawn, encoded
// as GIF and written to a file. Reports the file's size in bytes (the aim:
// under 300 kB, in under 1 s).
// The model headers come before Qt's: Qt defines "slots" as a macro.
#include "scene/frame/animation_frames.h"
#include "model/workspace/defaults.h"
#include "platform/qt/qt_image_canvas.h"
#include "platform/qt/qt_picture_file.h"
#include "platform/random.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QTemporaryDir>

#include "bench/qt_app.h"
#include "tests/kit/designs.h"

#include <memory>
#include <utility>

namespace {

// Arguments: steam display (0 off, 1 on), reverse arm offset from mid gear
// in tenths (-10 = normal full forward).
void BM_AnimationGif(benchmark::State& state) {
    vx::bench::EnsureQtApp();
    auto start = vx::test::StartedDesign();
    start->steamDisplayOn = state.range(0) != 0;
    start->motion.reverseArmPosition = start->revArm.centre + static_cast<float>(state.range(1)) / 10.0f;
    auto g = std::make_unique<vx::GearState>();
    vx::QImageCanvas canvas(vx::kFrameWidth, vx::kFrameHeight);
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("gear.gif"));
    std::vector<std::uint8_t> bytes;
    std::string error;
    const auto rows = [&canvas] {
        const QImage& image = std::as_const(canvas).Image();
        return vx::PixelRows{reinterpret_cast<const std::uint32_t*>(image.constBits()),
                             static_cast<std::ptrdiff_t>(image.bytesPerLine() / 4)};
    };
    for (auto _ : state) {
        *g = *start;
        vx::LcgRandom random(1);
        const vx::FrameServices services{&random};
        if (!vx::EncodeRevolutionGif(*g, vx::AnimationSettings{}, canvas, rows, services, nullptr, bytes, error)) {
            state.SkipWithError(error.c_str());
            break;
        }
        const QString failure = vx::WriteWholeFile(
            path, QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
        if (!failure.isEmpty()) {
            state.SkipWithError(failure.toStdString().c_str());
            break;
        }
    }
    state.counters["bytes"] = static_cast<double>(bytes.size());
}
BENCHMARK(BM_AnimationGif)->ArgNames({"steam", "revarm10"})->Args({0, 0})->Args({1, -10})->Unit(benchmark::kMillisecond);

} // namespace
