// A diagram window open on the nine notches with the valve rod on bar 1:
// each iteration is one trough click (+0.01) and the coalesced redraw it
// queues, as a user stepping the bar sees it.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QScrollBar>

#include "bench/qt_app.h"
#include "gui/diagrams/diagram_window.h"
#include "model/workspace/defaults.h"
#include "model/workspace/dynvar.h"
#include "model/analysis/valve_events.h"
#include "tests/kit/designs.h"

namespace vx::bench {

template <class Window>
void RunBarStep(benchmark::State& state, const char* barName) {
    EnsureQtApp();
    GearState g = *test::StartedDesign();
    const auto notches = NotchPositions(g);
    for (std::size_t i = 0; i < notches.size(); ++i) g.revArm.position[i + 1] = notches[i];
    g.dynVarSlots[0] = {122, g.cyl.valveCtrToJoint(), "ValveCtrToJoint"};
    SelectDynVar(g);
    g.dynVarDisplay = g.undoDisplay = true;
    DiagramHost host;
    host.model = &g;
    Window w(host);
    w.open();
    QApplication::processEvents();
    QApplication::processEvents();
    auto* bar = w.template findChild<QScrollBar*>(QString::fromUtf8(barName));
    if (bar == nullptr) {
        state.SkipWithError("the window has no bar 1");
        return;
    }
    int sign = 1;
    for (auto _ : state) {
        bar->setValue(10 * sign); // the bar springs back to 0 after each step
        QApplication::processEvents();
        sign = -sign;
    }
    benchmark::DoNotOptimize(w.DrawCount());
    w.done(0);
}

} // namespace vx::bench
