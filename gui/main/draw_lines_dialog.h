// "Draw Lines": the dialog in which the user defines up to 20 lines and
// circles over the gear, each from the two reference points, fixed or
// anchored to pivots. It closes itself while the user picks a pivot on the
// main window, and the main window shows it again with the pick.
//
// The dialog is a skin over the model and data/overlay.h: every handler
// runs the plain function of the same name there, then the controls are
// brought in step with the result. Controls carry their object names
// ("RadioGroup1", "DrawBut", "Panel7", "Label25", "Edit80", ...).
#pragma once

#include <QDialog>
#include <array>

#include "data/overlay.h"
#include "model/state/gear_state.h"
#include "platform/sound.h"

class QButtonGroup;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vx {

class TDrawLines : public QDialog {
    Q_OBJECT

public:
    TDrawLines(GearState& g, Sound& sound, QWidget* parent = nullptr);

    // The table refresh: every row's texts from the overlay table, and the
    // current item's row highlighted.
    void LinesDataClick();
    // Before a design is read: the rows' type, colour and reference texts
    // emptied.
    void ClearRowTexts();
    // After a design has been opened: the rows' type, colour and reference
    // texts emptied, the current item's row highlighted, the table refreshed.
    void DesignOpened();

    const OverlayDialogState& State() const { return state_; }

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildRadioGroups();
    void BuildRows();

    void FormActivate();
    void RadioGroupClick(int group, int choice);
    void DrawButClick();
    void ClearLineClick();
    void CloseButClick();
    void LabelClick(int row);
    void EditExit(int box);
    bool EditKeyPress(int box, const QKeyEvent& k);

    void Apply(const OverlayEffects& e);
    // Controls from the model and the dialog state.
    void Sync();
    void SyncChoice(int group, int choice);
    void HighlightRow();

    GearState& g_;
    Sound& sound_;
    OverlayDialogState state_;

    std::array<QButtonGroup*, 3> groups_{};
    QPushButton* drawBut_ = nullptr;
    struct Row {
        QFrame* panel = nullptr;
        std::array<QLabel*, 4> labels{}; // number, type, colour, reference
        std::array<QLineEdit*, 4> boxes{}; // vert1, horz1, vert2, horz2
    };
    std::array<Row, kOverlayItems + 1> rows_{}; // rows 1..20
};

} // namespace vx
