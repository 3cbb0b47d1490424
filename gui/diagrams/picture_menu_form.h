// The context menu of a diagram window's picture: "Export &Picture..." on a
// right click where no control of the window is (the diagrams bind nothing
// else to it). It writes the diagram as "vexlin-cli diagram" draws it for
// the state the window's picture was drawn from.
#pragma once

class QWidget;

namespace vx {

class PictureExport;
class TDiagramWindow;

// Adds the menu to `area`, the client area of `window`. Without an exporter
// there is no menu.
void InstallPictureMenu(TDiagramWindow* window, QWidget* area, PictureExport* exporter);

} // namespace vx
