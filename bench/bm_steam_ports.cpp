// The steam diagram over nine positions and the port events diagram in both
// graphs, each cleared and drawn into a window-sized picture as the windows
// do on every redraw.
// The model headers come before Qt's: Qt defines "slots" as a macro.
#include "scene/diagrams/ports_drawing.h"
#include "scene/diagrams/steam_drawing.h"
#include "model/workspace/defaults.h"
#include "platform/null_canvas.h"
#include "platform/qt/qt_image_canvas.h"
#include "bench/alloc_counter.h"
#include "bench/qt_app.h"
#include "tests/kit/designs.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kPictureWidth = 632;
constexpr int kPictureHeight = 414;

// The default design with nine positions from full forward to full reverse.
std::unique_ptr<vx::GearState> NinePositions() {
    auto g = vx::test::StartedDesign();
    const float c = g->revArm.centre, max = g->frame.revArmToCentMax;
    for (int i = 1; i <= vx::kRevArmPositions; ++i)
        g->revArm.position[static_cast<std::size_t>(i)] = c + max * static_cast<float>(i - 5) / 4.0f;
    g->revArm.positionCount = vx::kRevArmPositions;
    return g;
}

void BM_SteamDiagram(benchmark::State& state) {
    vx::bench::EnsureQtApp();
    auto g = NinePositions();
    vx::QImageCanvas canvas(kPictureWidth, kPictureHeight);
    const auto before = vx::bench::AllocationCount();
    for (auto _ : state) {
        canvas.Clear(vx::colors::kWhite);
        vx::DrawSteamDiagram(*g, canvas);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
    vx::bench::ReportAllocations(state, before);
}
BENCHMARK(BM_SteamDiagram)->Unit(benchmark::kMillisecond);

void BM_PortsBoth(benchmark::State& state) {
    vx::bench::EnsureQtApp();
    auto g = vx::test::StartedDesign();
    vx::QImageCanvas canvas(kPictureWidth, kPictureHeight);
    const auto before = vx::bench::AllocationCount();
    for (auto _ : state) {
        canvas.Clear(vx::colors::kWhite);
        vx::DrawPortGraphs(*g, canvas, vx::PortGraphMode::Both);
        benchmark::DoNotOptimize(canvas.Image().constBits());
    }
    vx::bench::ReportAllocations(state, before);
}
BENCHMARK(BM_PortsBoth)->Unit(benchmark::kMillisecond);

// The same without painting: what BM_PortsBoth spends beyond this is the
// painting, and the painting must not slow the solves between its calls.
void BM_PortsBothUnpainted(benchmark::State& state) {
    auto g = vx::test::StartedDesign();
    vx::NullCanvas canvas(kPictureWidth, kPictureHeight);
    for (auto _ : state) {
        vx::DrawPortGraphs(*g, canvas, vx::PortGraphMode::Both);
        benchmark::DoNotOptimize(g->ports.frontSteamOpening);
    }
}
BENCHMARK(BM_PortsBothUnpainted)->Unit(benchmark::kMillisecond);

} // namespace

#include "gui/diagrams/steam_window.h"

#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QWidget>

namespace {

// The steam window open; each iteration is a change of the positions list
// (SetRevArmPos, answered by a list of nine other positions) and the
// redraw that follows as the dialog closes, as a user sees it (the mouse
// move after it finds nothing left to draw).
void BM_SteamWindowPositionsChange(benchmark::State& state) {
    vx::bench::EnsureQtApp();
    auto g = NinePositions();
    const auto first = g->revArm.position;
    auto second = first;
    for (auto& p : second) p = p != 0 ? p + 0.05f : p;
    bool odd = false;
    vx::DiagramHost host;
    host.model = g.get();
    host.showPositionsDialog = [&] {
        g->revArm.position = odd ? second : first;
        odd = !odd;
        g->revArm.positionCount = vx::kRevArmPositions;
        g->revArm.diagramRedrawPending = true;
    };
    vx::TSteamDia w(host);
    w.open();
    QApplication::processEvents();
    QApplication::processEvents();
    auto* ask = w.findChild<QAction*>(QStringLiteral("SetRevArmPos"));
    auto* picture = w.findChild<QWidget*>(QStringLiteral("DiagramCanvas"));
    if (ask == nullptr || picture == nullptr) {
        state.SkipWithError("the steam window has no SetRevArmPos or picture");
        return;
    }
    const auto drawsBefore = w.DrawCount();
    for (auto _ : state) {
        ask->trigger();
        QMouseEvent move(QEvent::MouseMove, QPointF(100, 100), picture->mapToGlobal(QPointF(100, 100)), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(picture, &move);
        QApplication::processEvents();
    }
    if (w.DrawCount() - drawsBefore < static_cast<long long>(state.iterations()))
        state.SkipWithError("a change of the positions did not redraw the picture");
    w.done(0);
}
BENCHMARK(BM_SteamWindowPositionsChange)->Unit(benchmark::kMillisecond);

} // namespace
