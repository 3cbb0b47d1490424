#include "gui/diagrams/oval_window.h"

#include "scene/diagrams/oval_diagram.h"

namespace vx {
namespace {

using Command = TDiagramWindow::MenuCommand;

constexpr TDiagramWindow::MenuRow kMenu[] = {
    {nullptr, "SetRevArmPos", "SetRevArmPos1", Command::SetRevArmPos},
    {nullptr, "ReDraw", "ReDraw1", Command::ReDraw},
    {nullptr, "DynamicVari", "DynVar", Command::DynVari},
};

constexpr TDiagramWindow::Layout kLayout{
    "OvalDia", kDiagramWidth, kOvalDiagramHeight, "MainMenu1", kMenu, "CloseOval", 408, 8,
    "SBDynVarO", "UnDoDnO", 2, 2, true, true, true,
};

} // namespace

TOvalDia::TOvalDia(const DiagramHost& host, QWidget* parent) : TDiagramWindow(host, kLayout, parent) {}

void TOvalDia::DrawDiagram(Canvas& c) { DrawOvalDiagram(Model(), c); }

QString TOvalDia::Caption() const { return CaptionOf(WindowKind::OvalDiagram); }

} // namespace vx
