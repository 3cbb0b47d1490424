// TOvalDia: the oval diagram window.
#pragma once

#include "gui/diagrams/diagram_window.h"

namespace vx {

class TOvalDia final : public TDiagramWindow {
    Q_OBJECT

public:
    explicit TOvalDia(const DiagramHost& host, QWidget* parent = nullptr);

protected:
    void DrawDiagram(Canvas& c) override;
    QString Caption() const override;
};

} // namespace vx
