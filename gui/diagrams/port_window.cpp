#include "gui/diagrams/port_window.h"

#include "scene/diagrams/diagram_common.h"

namespace vx {
namespace {

using Command = TDiagramWindow::MenuCommand;

constexpr TDiagramWindow::MenuRow kMenu[] = {
    {"SetUp", "ForwardGraph", "ForwardGraph1", Command::ForwardGraph},
    {"SetUp", "ReverseGraph", "ReverseGraph1", Command::ReverseGraph},
    {"SetUp", "BothGraphs", "BothGraphs1", Command::BothGraphs},
    {nullptr, "ReDraw", "ReDraw1", Command::ReDraw},
    {nullptr, "DynamicVari", "DynamicVari1", Command::DynVari},
};

constexpr TDiagramWindow::Layout kLayout{
    "PortDia", kDiagramWidth, kPortDiagramHeight, "MainMenu1", kMenu, "ClosePort", 447, 2,
    "SBDynVarP", "UnDoDnP", 4, 1, false, false, false, true,
};

} // namespace

TPortDia::TPortDia(const DiagramHost& host, QWidget* parent) : TDiagramWindow(host, kLayout, parent) {}

void TPortDia::DrawDiagram(Canvas& c) {
    DrawPortGraph(Model(), c, mode_ == PortGraphMode::Reverse ? PortGraphMode::Reverse : PortGraphMode::Forward,
                  showCycleLegend_);
}

QString TPortDia::Caption() const { return CaptionOf(WindowKind::PortDiagram); }

void TPortDia::DrawBothGraphs() {
    mode_ = PortGraphMode::Forward;
    ClearAndDraw();
    mode_ = PortGraphMode::Reverse;
    showCycleLegend_ = false;
    DrawOnly();
    showCycleLegend_ = true;
    mode_ = PortGraphMode::Both;
}

void TPortDia::ShowSingle(PortGraphMode mode) {
    mode_ = mode;
    ClearAndDraw();
}

void TPortDia::Activate() {
    StopMainTimer();
    const PortGraphMode mode = PortGraphModeOfChoice(Model().portGraphChoice);
    if (mode == PortGraphMode::Both) DrawBothGraphs();
    else ShowSingle(mode);
}

void TPortDia::Redraw() {
    if (mode_ == PortGraphMode::Both) DrawBothGraphs();
    else ClearAndDraw();
}

void TPortDia::GestureRedraw() {
    if (mode_ == PortGraphMode::Both) DrawBothGraphs();
    else DrawOnly();
}

void TPortDia::RunMenuCommand(MenuCommand c) {
    switch (c) {
    case MenuCommand::ForwardGraph:
        ShowSingle(PortGraphMode::Forward);
        Model().portGraphChoice = kPortChoiceForward;
        break;
    case MenuCommand::ReverseGraph:
        ShowSingle(PortGraphMode::Reverse);
        Model().portGraphChoice = kPortChoiceReverse;
        break;
    case MenuCommand::BothGraphs:
        DrawBothGraphs();
        Model().portGraphChoice = kPortChoiceBoth;
        break;
    default: TDiagramWindow::RunMenuCommand(c); break;
    }
}

} // namespace vx
