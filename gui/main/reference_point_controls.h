// The reference point controls of the main window, one family built from a
// table: the four reference bars SBRef1Vert, SBRef1Horz, SBRef2Vert,
// SBRef2Horz, the zero buttons RefPt1Zero and RefPt2Zero, the centring
// buttons RefPt1 ("RP1") and RefPt2 ("RP2") and the pivot data button
// DataTableBut; the reference points and pivot data modes; and the main
// picture's mouse-press dispatcher (model/reference_points.h has its rules).
//
// Hooks the main window wires to the other windows:
//  - SetOverlayHooks: the lines-and-circles dialog (TDrawLines) reports its
//    choices for the pivot hand-off through `query` (an OverlayPickQuery:
//    type and colour chosen, reference choice -1..3), and `open` shows it
//    again after a pick (run queued, right after the press). Until they are
//    set, a press never reopens the dialog.
//  - SetLocatorHook: ends the dimension locator; called when a press lands
//    while a dimension is being located.
//  - SetDataTableHook: shows the pivot data table (DataTableBut).
#pragma once

#include <QObject>
#include <array>
#include <functional>

#include "model/state/gear_state.h"
#include "model/workspace/reference_points.h"

class QAction;
class QMainWindow;
class QPushButton;
class QScrollBar;
class QWidget;

namespace vx {

class RefPointControls final : public QObject {
    Q_OBJECT

public:
    // The controls are children of `canvas` (the main window's client area);
    // the panels, menu items and pan bars they show, enable and move are
    // found in `window` by their object names.
    RefPointControls(QMainWindow* window, QWidget* canvas, GearState& g);

    void SetOverlayHooks(std::function<OverlayPickQuery()> query, std::function<void()> open);
    void SetLocatorHook(std::function<void()> endLocator);
    void SetDataTableHook(std::function<void()> openDataTable);

    // "&ReferPoints" and "Pi&votData".
    void ToggleReferencePoints();
    void TogglePivotData();
    // Switches the reference points mode on or off with its controls (off
    // also switches the pivot data mode off).
    void SetReferenceMode(bool on);
    void SetPivotDataMode(bool on);

    // The screen data option: hidden, the reference controls disappear and
    // both modes switch off; shown again, "RP1" and "RP2" come back (the
    // modes stay off until switched on).
    void SetScreenDataShown(bool shown);

    // A mouse press on the main picture at client pixel (x, y).
    void PicturePress(int x, int y, PressButton button);

    // The zero button of point 1 or 2 (TRefPnts uses them).
    void SetZeroEnabled(int point, bool enabled);

    // Control actions, also run by the tests.
    void RefBarChange(int bar, int position);
    void ZeroClick(int point);
    void CentreClick(int point);

private:
    QWidget* Find(const char* name) const;
    QAction* FindAction(const char* name) const;

    QMainWindow* window_;
    GearState& g_;
    std::array<QScrollBar*, 4> bars_{};
    std::array<QPushButton*, 3> zero_{};   // 1, 2 used
    std::array<QPushButton*, 3> centre_{}; // 1, 2 used
    QPushButton* dataTableBut_ = nullptr;
    std::function<OverlayPickQuery()> overlayQuery_;
    std::function<void()> openDrawLines_;
    std::function<void()> endLocator_;
    std::function<void()> openDataTable_;
};

} // namespace vx
