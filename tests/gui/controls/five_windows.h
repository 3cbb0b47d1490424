// The five windows that carry the dynamic-variable bars and an UnDo
// button (main, sine, oval, steam, ports), each built over its own started
// gear with Stroke in slot 1, slots 2..4 empty, the dynamic variables shown
// or hidden, and the window open; for tables over the five.
#pragma once

#include <QApplication>
#include <QScrollBar>
#include <QTimer>

#include <functional>
#include <memory>

#include "gui/diagrams/oval_window.h"
#include "gui/diagrams/port_window.h"
#include "gui/diagrams/sine_window.h"
#include "gui/diagrams/steam_window.h"
#include "gui/main/main_form.h"
#include "model/workspace/defaults.h"
#include "model/workspace/dynvar.h"
#include "tests/kit/designs.h"

namespace vx::test {

// One window with its bars showing slot 1 assigned and slots 2..4 empty.
struct BarWindow {
    std::unique_ptr<GearState> ownModel; // a diagram window's; the main window owns its own
    std::unique_ptr<QWidget> window;
    GearState* g = nullptr;
    const char* prefix = nullptr;
    QScrollBar* Bar(int n) const {
        return window->findChild<QScrollBar*>(QString::fromUtf8(prefix) + QString::number(n));
    }
};

inline void AssignStroke(GearState& g) {
    g.dynVarSlots[0] = {2, g.frame.stroke, "Stroke"};
    SelectDynVar(g);
}

inline BarWindow MainWindow(bool showDynVars = true) {
    auto form = std::make_unique<TMainForm>();
    form->findChild<QTimer*>(QStringLiteral("Timer1"))->stop();
    BarWindow w;
    w.g = &form->Model();
    w.prefix = "SBDynVar";
    AssignStroke(*w.g);
    form->RunCommand(TMainForm::Command::ReferPoints); // a press on the picture would move point 1
    if (showDynVars) form->RunCommand(TMainForm::Command::DynamicVari);
    form->show();
    form->Tick(); // the frame enables the bars of the assigned slots
    w.window = std::move(form);
    return w;
}

template <class Window>
BarWindow DiagramWindow(const char* prefix, bool showDynVars = true) {
    BarWindow w;
    w.ownModel = test::StartedDesign();
    GearState& g = *w.ownModel;
    AssignStroke(g);
    if (showDynVars) ToggleDynVarDisplay(g);
    DiagramHost host;
    host.model = &g;
    auto window = std::make_unique<Window>(host);
    window->open();
    QApplication::processEvents();
    QApplication::processEvents();
    w.g = &g;
    w.prefix = prefix;
    w.window = std::move(window);
    return w;
}

struct WindowRow {
    const char* name;
    std::function<BarWindow(bool showDynVars)> make;
};

inline const WindowRow kBarWindows[] = {
    {"main", MainWindow},
    {"sine", [](bool on) { return DiagramWindow<TSineDia>("SBDynVarS", on); }},
    {"oval", [](bool on) { return DiagramWindow<TOvalDia>("SBDynVarO", on); }},
    {"steam", [](bool on) { return DiagramWindow<TSteamDia>("SBDynVarST", on); }},
    {"ports", [](bool on) { return DiagramWindow<TPortDia>("SBDynVarP", on); }},
};

} // namespace vx::test
