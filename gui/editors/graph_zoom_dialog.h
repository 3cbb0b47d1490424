// TGraphZoom, "Set Zoom of Dimensional Graphic Position": the graphic zoom
// factor G of the dimension locator (its views are scaled by 7.5 / G).
#pragma once

#include <QDialog>

#include "model/state/gear_state.h"

class QLineEdit;

namespace vx {

class TGraphZoom final : public QDialog {
    Q_OBJECT

public:
    explicit TGraphZoom(GearState& g, QWidget* parent = nullptr);
    // "OK": the typed factor, limited to 0.5 .. 2000, then the dialog closes.
    void OKClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    GearState& g_;
    QLineEdit* edit1_ = nullptr;
};

} // namespace vx
