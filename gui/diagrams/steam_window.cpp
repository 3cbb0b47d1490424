#include "gui/diagrams/steam_window.h"

#include "scene/diagrams/diagram_common.h"
#include "scene/diagrams/steam_drawing.h"

namespace vx {
namespace {

using Command = TDiagramWindow::MenuCommand;

constexpr TDiagramWindow::MenuRow kMenu[] = {
    {nullptr, "SetRevArmPos", "SetRevArmPos", Command::SetRevArmPos},
    {nullptr, "ReDraw", "ReDraw", Command::ReDraw},
    {nullptr, "DynamicVari", "DynVari", Command::DynVari},
};

// UnDo clears and draws once (the sine and oval windows twice).
constexpr TDiagramWindow::Layout kLayout{
    "SteamDia", kDiagramWidth, kSteamDiagramHeight, "MainMenu1", kMenu, "CloseStm", 408, 8,
    "SBDynVarST", "UnDoDnSt", 3, 1, true, true, true,
};

} // namespace

TSteamDia::TSteamDia(const DiagramHost& host, QWidget* parent) : TDiagramWindow(host, kLayout, parent) {}

void TSteamDia::DrawDiagram(Canvas& c) { DrawSteamDiagram(Model(), c); }

QString TSteamDia::Caption() const { return CaptionOf(WindowKind::SteamDiagram); }

} // namespace vx
