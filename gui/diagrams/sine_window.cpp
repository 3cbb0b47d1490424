#include "gui/diagrams/sine_window.h"

#include "scene/diagrams/sine_diagram.h"

namespace vx {
namespace {

using Command = TDiagramWindow::MenuCommand;

constexpr TDiagramWindow::MenuRow kMenu[] = {
    {nullptr, "&SetRevArmPos", "SetRevArmPos", Command::SetRevArmPos},
    {nullptr, "&ReDraw", "ReDraw", Command::ReDraw},
    {nullptr, "&DymamicVariables", "DynVari", Command::DynVari},
};

constexpr TDiagramWindow::Layout kLayout{
    "SineDia", kDiagramWidth, kSineDiagramHeight, "MainMenuSine", kMenu, "CloseSin", 408, 8,
    "SBDynVarS", "UnDoDnS", 1, 2, true, true, true,
};

} // namespace

TSineDia::TSineDia(const DiagramHost& host, QWidget* parent) : TDiagramWindow(host, kLayout, parent) {}

void TSineDia::DrawDiagram(Canvas& c) { DrawSineDiagram(Model(), c); }

QString TSineDia::Caption() const { return CaptionOf(WindowKind::SineDiagram); }

} // namespace vx
