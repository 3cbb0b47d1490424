// A diagram window with real widgets over a started gear, its host counting
// what the window asks of the main window: the timer switched, the
// positions dialog shown (which takes the position list, as its closing
// does) and the main window's controls brought up to date.
#pragma once

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QString>

#include <memory>
#include <vector>

#include "gui/diagrams/diagram_window.h"
#include "tests/kit/started_gear.h"
#include "tests/kit/widget_test_support.h"

namespace vx::test {

template <class Window>
class DiagramWindowFixture : public StartedGear {
protected:
    void SetUp() override {
        StartedGear::SetUp(); // positions 1..3 from the mid-gear search, not yet counted
        if (HasFatalFailure()) return;
        DiagramHost host;
        host.model = &g;
        host.setTimerRunning = [this](bool on) { timerCalls.push_back(on); };
        host.showPositionsDialog = [this] {
            ++dialogShown;
            TakePositionList(g);
        };
        host.syncMainControls = [this] { ++mainSyncs; };
        w = std::make_unique<Window>(host);
    }
    void TearDown() override {
        if (w && w->isVisible()) w->done(0);
    }

    // Opens the window as the main window does (without blocking) and lets
    // the activation run.
    void Open() {
        w->open();
        QApplication::processEvents();
        QApplication::processEvents();
    }
    template <class T>
    T* Get(const char* name) {
        return Child<T>(*w, name);
    }
    void Trigger(const char* name) { Get<QAction>(name)->trigger(); }

    std::vector<bool> timerCalls;
    int dialogShown = 0;
    int mainSyncs = 0;
    std::unique_ptr<Window> w;
};

} // namespace vx::test
