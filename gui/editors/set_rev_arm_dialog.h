// TSetRevArm, "Set Reverse Arm Positions": the vertical scale of the
// diagrams and up to nine reverse arm positions they draw. The sine, oval
// and steam diagram windows show it (exec()) each time they are activated
// and from their "SetRevArmPos" menu item; when it closes, however it is
// closed, positionCount is current and diagramRedrawPending is set.
#pragma once

#include <array>

#include "gui/editors/number_box_dialog.h"
#include "model/state/gear_state.h"

class QLineEdit;
class QPushButton;

namespace vx {

class TSetRevArm final : public CanvasDialog {
    Q_OBJECT

public:
    static constexpr int kClientWidth = 332;
    static constexpr int kClientHeight = 125;

    explicit TSetRevArm(GearState& g, QWidget* parent = nullptr);
    ~TSetRevArm() override;

    // The refresh run on activation and after closing: the positions'
    // cascade of zeros, positionCount, the boxes shown and their texts.
    void Refresh();
    // Number of position boxes shown (1..9).
    int ShownBoxes() const { return shown_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* e) override;
    void DrawSurface(Canvas& c) override;

private:
    void EditExit(int k);
    void EditKeyPress(int k);

    GearState& g_;
    std::array<QLineEdit*, 11> boxes_{}; // Edit1..Edit9 positions, Edit10 vertical scale
    QPushButton* close1_ = nullptr;
    NumberBoxFilter* filter_ = nullptr;
    int shown_ = 1;
};

} // namespace vx
