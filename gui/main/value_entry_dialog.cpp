#include "gui/main/value_entry_dialog.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <cmath>

#include "gui/editors/number_box_dialog.h"
#include "model/gear/reverse_arm.h"
#include "model/workspace/motion.h"
#include "base/typed_value.h"
#include "model/workspace/view.h"

namespace vx {

ValueEntryDialog::ValueEntryDialog(GearState& g, MotionControls controls, const Layout& layout, QWidget* parent)
    : QDialog(parent), g_(g), controls_(std::move(controls)) {
    setObjectName(QString::fromUtf8(layout.objectName));
    setWindowTitle(QString::fromUtf8(layout.caption));
    setFont(DialogFont());
    setFixedSize(208, layout.height);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    AddLabel("Label1", QStringLiteral("Enter"), 5, layout.rowTop + 3);
    edit1_ = MakeNumberBox(this, "Edit1", QRect(34, layout.rowTop, 50, 21), true, QColor(Qt::white));
    auto* filter = new NumberBoxFilter(
        KeyRules{layout.minus, layout.okIsDefault ? EnterKey::DefaultButton : EnterKey::Discard}, {}, this);
    filter->Attach(edit1_, 1);

    ok_ = MakeDialogButton(this, "OK", QStringLiteral("OK"), QRect(94, layout.rowTop + 1, 52, 21));
    cancel_ = MakeDialogButton(this, "Cancel", QStringLiteral("Cancel"), QRect(152, layout.rowTop + 1, 52, 21));
    // As on the desktop: Enter presses the focused button, else the default one.
    ok_->setAutoDefault(true);
    cancel_->setAutoDefault(true);
    ok_->setDefault(layout.okIsDefault);
    connect(ok_, &QPushButton::clicked, this, &ValueEntryDialog::OKClick);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
}

QLabel* ValueEntryDialog::AddLabel(const char* name, const QString& text, int left, int top) {
    auto* l = new QLabel(text, this);
    l->setObjectName(QString::fromUtf8(name));
    l->move(left, top);
    l->resize(l->sizeHint());
    return l;
}

void ValueEntryDialog::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    Refill();
    cancel_->setFocus();
}

void ValueEntryDialog::OKClick() {
    Apply();
    accept();
}

// ---------------------------------------------------------------------------

TDrivAng::TDrivAng(GearState& g, MotionControls controls, QWidget* parent)
    : ValueEntryDialog(g, std::move(controls), {"DrivAng", "Driver Angle", 47, 16, false, true}, parent) {
    AddLabel("Label2", QStringLiteral("Min = 0.00"), 10, 0);
    AddLabel("Label3", QStringLiteral("Max = 360.00"), 100, 0);
}

void TDrivAng::Refill() {
    // While the gear runs the angle changes every tick: nothing to show.
    const float a = g_.motion.tickStep == 0.0f ? g_.motion.driverAngle : 0.0f;
    edit1_->setText(QString::fromStdString(FormatWD(a, 4, 2, 10)));
}

void TDrivAng::Apply() {
    MotionState& m = g_.motion;
    // Stopped through the Run button, as a click on "Stop" does.
    m.running = true;
    if (controls_.runClick) controls_.runClick();
    float a = TypedNumber(edit1_->text().toStdString());
    if (a < 0.0f) a = 0.0f;
    if (a > 360.0f) a = 360.0f;
    m.driverAngle = a;
    if (controls_.driverAngleBar) controls_.driverAngleBar->setValue(Nearest(static_cast<double>(a) * 100));
    m.tickStep = 0;
    if (controls_.driverAngleBar) controls_.driverAngleBar->setEnabled(true);
}

// ---------------------------------------------------------------------------

TStpAng::TStpAng(GearState& g, MotionControls controls, QWidget* parent)
    : ValueEntryDialog(g, std::move(controls), {"StpAng", "Step Angle", 47, 16, false, true}, parent) {
    AddLabel("Label2", QStringLiteral("Min = 0.01"), 10, 0);
    AddLabel("Label3", QStringLiteral("Max = 45.00"), 100, 0);
}

void TStpAng::Refill() { edit1_->setText(QString::fromStdString(FormatWD(g_.motion.tickStep, 4, 2, 10))); }

void TStpAng::Apply() {
    MotionState& m = g_.motion;
    float s = TypedNumber(edit1_->text().toStdString());
    if (s > 45.0f) s = 45.0f;
    if (s < 0.01f) s = 0.01f;
    m.selectedStep = s;
    // Applied through the Run button without changing the running state.
    m.running = !m.running;
    if (controls_.runClick) controls_.runClick();
    // The step bar shows the step without mapping it back to a table step.
    const int p = Nearest(4000.0 * std::log10(100.0 * static_cast<double>(s)));
    if (QScrollBar* bar = controls_.stepAngleBar; bar != nullptr && bar->value() != p) {
        m.stepBarArmed = false;
        bar->setValue(p);
    }
    if (QScrollBar* bar = controls_.driverAngleBar) {
        bar->setSingleStep(Nearest(100.0 * static_cast<double>(s)));
        bar->setPageStep(Nearest(500.0 * static_cast<double>(s)));
    }
}

// ---------------------------------------------------------------------------

TRevPos::TRevPos(GearState& g, MotionControls controls, QWidget* parent)
    : ValueEntryDialog(g, std::move(controls), {"RevPos", "Reverse Arm Position", 64, 32, true, false}, parent) {
    struct Place {
        int number, left, top;
    };
    constexpr Place kPlaces[] = {{5, 2, 0}, {3, 71, 0}, {6, 141, 0}, {2, 2, 15}, {4, 141, 15}};
    for (const Place& p : kPlaces) {
        const QByteArray name = "Label" + QByteArray::number(p.number);
        labels_[static_cast<std::size_t>(p.number)] = AddLabel(name.constData(), QString(), p.left, p.top);
    }
}

void TRevPos::Refill() {
    const TravelLandmarks t = TravelLandmarksOf(g_);
    struct Text {
        int label;
        const char* prefix;
        double value;
    };
    const Text texts[] = {
        {5, "Rev = ", t.rev}, {3, "Cen = ", t.cen}, {6, "Fwd = ", t.fwd}, {2, "Max = ", t.max}, {4, "Min = ", t.min},
    };
    for (const Text& x : texts) {
        QLabel* l = labels_[static_cast<std::size_t>(x.label)];
        l->setText(QString::fromUtf8(x.prefix) +
                   QString::fromStdString(FormatWD(static_cast<float>(x.value), 5, 3, 10)));
        l->resize(l->sizeHint());
    }
    edit1_->setText(QString::fromStdString(FormatWD(g_.motion.reverseArmPosition, 7, 3, 10)));
}

void TRevPos::Apply() {
    QScrollBar* bar = controls_.revArmBar;
    if (bar == nullptr) return;
    const double v = TypedNumber(edit1_->text().toStdString());
    const double p = RevArmBarOf(g_.revArm.centre, v);
    bar->setValue(Nearest(std::clamp(p, static_cast<double>(bar->minimum()), static_cast<double>(bar->maximum()))));
}

} // namespace vx
