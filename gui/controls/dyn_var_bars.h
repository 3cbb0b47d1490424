// The four dynamic-variable bars, one family shared by the main window and
// the four diagram windows: built from one table, one handler with the bar
// number, the step rule and the bar history of the model (shared by every
// window's bars), the value taken when a bar receives the focus, and one
// undo entry at the end of each scroll gesture.
//
// The owner is told after each position change (the model has stepped and
// the bar is back at 0; also for the bar's own return to 0) and after each
// gesture's undo entry, and does its own redraw and focus moves there.
#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "model/state/gear_state.h"

class QScrollBar;
class QWidget;

namespace vx {

class DynVarBars final : public QObject {
public:
    // Bars named prefix1 .. prefix4, 121 x 10, at (left, top + 12 (n - 1)),
    // range -200 .. 200, small change 1, large change 10, hidden.
    // Bar n at (left, top + pitch (n - 1)), 121 x 10 pixels.
    DynVarBars(GearState& g, QWidget* parent, const char* namePrefix, int left, int top, int pitch = 12);
    ~DynVarBars() override;

    QScrollBar* Bar(int n) const { return bars_[static_cast<std::size_t>(n)]; }

    void SetVisible(bool visible);
    void SetEnabled(int n, bool enabled);

    std::function<void(int n)> onChanged;
    std::function<void(int n)> onGestureEnd;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void Change(int n, int position);

    GearState& g_;
    std::array<QScrollBar*, 5> bars_{}; // 1..4 used
};

} // namespace vx
