// TSteamDia: the steam (indicator) diagram window.
#pragma once

#include "gui/diagrams/diagram_window.h"

namespace vx {

class TSteamDia final : public TDiagramWindow {
    Q_OBJECT

public:
    explicit TSteamDia(const DiagramHost& host, QWidget* parent = nullptr);

protected:
    void DrawDiagram(Canvas& c) override;
    QString Caption() const override;
};

} // namespace vx
