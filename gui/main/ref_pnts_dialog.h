// The reference points dialog (TRefPnts): the two points typed as numbers.
// "OK" stores them and switches the reference points on, "Zero" puts both
// at (0, 0) and switches them off, "Cancel" switches them off.
#pragma once

#include <QDialog>
#include <array>

#include "model/state/gear_state.h"

class QLineEdit;
class QPushButton;

namespace vx {

class RefPointControls;

class TRefPnts final : public QDialog {
    Q_OBJECT

public:
    TRefPnts(GearState& g, RefPointControls& controls, QWidget* parent = nullptr);

    void OKClick();
    void ZeroClick();
    void CancelClick();

    // The decimal number of an edit's text; a text that is not a number
    // gives 0, and values beyond the float range become +-infinity.
    static float EditValue(const QString& text);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void FormActivate();

    GearState& g_;
    RefPointControls& controls_;
    std::array<QLineEdit*, 5> edits_{}; // Edit1..Edit4
    QPushButton* cancel_ = nullptr;
};

} // namespace vx
