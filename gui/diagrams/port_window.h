// TPortDia: the port events diagram window. It asks for no positions and
// has no mouse-move redraw; its SetUp menu picks the forward graph, the
// reverse graph or both, and the choice (PortGraphChoice in the model)
// holds until the program ends.
#pragma once

#include "gui/diagrams/diagram_window.h"
#include "scene/diagrams/ports_drawing.h"

namespace vx {

class TPortDia final : public TDiagramWindow {
    Q_OBJECT

public:
    explicit TPortDia(const DiagramHost& host, QWidget* parent = nullptr);

    PortGraphMode Mode() const { return mode_; }

protected:
    void DrawDiagram(Canvas& c) override;
    QString Caption() const override;
    void Activate() override;
    void Redraw() override;
    void GestureRedraw() override;
    void RunMenuCommand(MenuCommand c) override;

private:
    // Forward graph with the legend, then the reverse graph over it.
    void DrawBothGraphs();
    void ShowSingle(PortGraphMode mode);

    PortGraphMode mode_ = PortGraphMode::Both;
    bool showCycleLegend_ = true;
};

} // namespace vx
