// TEventsDia: the valve events window, a member of the diagram windows'
// family (menu, "Close", the four dynamic-variable bars, "UnDo", "ReDraw",
// the positions dialog on opening). Its picture is the exact events table
// of the listed reverse arm positions; a bar step recomputes it (bar moves
// coalesced by the family). "Copy" puts the table on the clipboard as CSV;
// "SetUp > Thresholds..." sets when a front/rear difference is marked.
#pragma once

#include <array>

#include "gui/diagrams/diagram_window.h"
#include "scene/diagrams/valve_events_drawing.h"
#include "model/analysis/valve_events.h"

namespace vx {

class TEventsDia final : public TDiagramWindow {
    Q_OBJECT

public:
    explicit TEventsDia(const DiagramHost& host, QWidget* parent = nullptr);

    const EventThresholds& Thresholds() const { return thresholds_; }
    void SetThresholds(const EventThresholds& t);
    // The events of the positions shown, as last computed.
    std::span<const PositionEvents> Events() const { return {events_.data(), static_cast<std::size_t>(count_)}; }
    // The table as CSV, as Copy puts it on the clipboard.
    std::string Csv() const;

protected:
    void DrawDiagram(Canvas& c) override;
    QString Caption() const override;
    void RunMenuCommand(MenuCommand c) override;
    // The table's figures change in place: the end of a bar gesture clears
    // before drawing, as every other redraw does.
    void GestureRedraw() override;

private:
    void Recompute();
    void CopyTable();
    void AskThresholds();

    EventThresholds thresholds_;
    GearState work_; // the scratch copy the events are solved on
    std::array<PositionEvents, kRevArmPositions> events_{};
    int count_ = 0;
};

} // namespace vx
