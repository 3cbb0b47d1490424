// The analysis windows (sensitivity, tolerance): diagram windows whose
// settings are their own, above the picture, so that activating one asks
// for no positions list, and whose "Copy" puts their figures on the
// clipboard as CSV.
#pragma once

#include <string>

#include "gui/diagrams/diagram_window.h"

namespace vx {

class TAnalysisWindow : public TDiagramWindow {
    Q_OBJECT

public:
    using TDiagramWindow::TDiagramWindow;

    // The figures "Copy" puts on the clipboard.
    virtual std::string Csv() const = 0;

protected:
    // The main window's timer off, then the picture cleared and drawn.
    void Activate() override;
    void RunMenuCommand(MenuCommand c) override;
};

} // namespace vx
