// The three value entry dialogs of the main window: driver angle (TDrivAng),
// step angle (TStpAng) and reverse arm position (TRevPos). Each refills
// itself when shown, takes a typed number through the shared key filter and
// applies it on "OK" through the main window's own controls; "Cancel"
// changes nothing.
#pragma once

#include <QDialog>
#include <array>
#include <functional>

#include "model/state/gear_state.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;

namespace vx {

// The main window's motion controls the dialogs act through.
struct MotionControls {
    std::function<void()> runClick; // the "Run"/"Stop" button's click
    QScrollBar* driverAngleBar = nullptr; // SBDrvAng
    QScrollBar* stepAngleBar = nullptr;   // SBStepAng
    QScrollBar* revArmBar = nullptr;      // SBRevArm
};

class ValueEntryDialog : public QDialog {
    Q_OBJECT

public:
    // "OK": applies the typed value, then closes.
    void OKClick();
    QLineEdit* Edit() const { return edit1_; }

protected:
    struct Layout {
        const char* objectName;
        const char* caption;
        int height;   // client height; the width is 208
        int rowTop;   // top of the box; "Enter" and the buttons follow it
        bool minus;   // the box takes a "-"
        bool okIsDefault;
    };
    ValueEntryDialog(GearState& g, MotionControls controls, const Layout& layout, QWidget* parent);

    QLabel* AddLabel(const char* name, const QString& text, int left, int top);
    virtual void Refill() = 0;
    virtual void Apply() = 0;
    void showEvent(QShowEvent* e) override;

    GearState& g_;
    MotionControls controls_;
    QLineEdit* edit1_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// "Driver Angle": the typed angle (0 .. 360) with the motion stopped.
class TDrivAng final : public ValueEntryDialog {
    Q_OBJECT
public:
    TDrivAng(GearState& g, MotionControls controls, QWidget* parent = nullptr);

protected:
    void Refill() override;
    void Apply() override;
};

// "Step Angle": the typed step (0.01 .. 45) used as typed, the running
// state kept.
class TStpAng final : public ValueEntryDialog {
    Q_OBJECT
public:
    TStpAng(GearState& g, MotionControls controls, QWidget* parent = nullptr);

protected:
    void Refill() override;
    void Apply() override;
};

// "Reverse Arm Position": the positions of normal reverse, mid gear and
// normal forward and the travel's ends; "OK" moves the reverse arm to the
// typed position through its bar (limited to the bar's ends).
class TRevPos final : public ValueEntryDialog {
    Q_OBJECT
public:
    TRevPos(GearState& g, MotionControls controls, QWidget* parent = nullptr);

protected:
    void Refill() override;
    void Apply() override;

private:
    std::array<QLabel*, 7> labels_{}; // Label2 .. Label6
};

} // namespace vx
