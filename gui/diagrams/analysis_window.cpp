#include "gui/diagrams/analysis_window.h"

#include "gui/diagrams/copy_text.h"

namespace vx {

void TAnalysisWindow::Activate() {
    StopMainTimer();
    ClearAndDraw();
}

void TAnalysisWindow::RunMenuCommand(MenuCommand c) {
    if (c == MenuCommand::Copy) {
        CopyTextToClipboard(Csv());
        return;
    }
    TDiagramWindow::RunMenuCommand(c);
}

} // namespace vx
