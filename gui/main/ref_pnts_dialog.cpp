#include "gui/main/ref_pnts_dialog.h"
#include "platform/qt/qt_fonts.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cfloat>
#include <limits>

#include "gui/main/reference_point_controls.h"
#include "base/fixed_format.h"
#include "base/typed_value.h"
#include "model/workspace/reference_points.h"

namespace vx {
namespace {

struct EditRow {
    const char* label;
    int labelLeft, labelTop;
    int editLeft, editTop;
    int point;
    bool vertical;
};

// Edit1..Edit4: Y and X of point 1, then of point 2.
constexpr EditRow kEdits[5] = {
    {},
    {"RefPt V1", 5, 6, 50, 2, 1, true},
    {"RefPt H1", 5, 29, 50, 26, 1, false},
    {"RefPt V2", 108, 6, 155, 2, 2, true},
    {"RefPt H2", 108, 29, 155, 26, 2, false},
};

float& Field(GearState& g, const EditRow& r) { return r.vertical ? RefY(g, r.point) : RefX(g, r.point); }

QFont DialogFont() { return UiFont(UiFace::Sans, 11); }

} // namespace

TRefPnts::TRefPnts(GearState& g, RefPointControls& controls, QWidget* parent)
    : QDialog(parent), g_(g), controls_(controls) {
    setObjectName(QStringLiteral("TRefPnts"));
    setWindowTitle(QStringLiteral("Reference Points"));
    setModal(true);
    setFont(DialogFont());
    setFixedSize(208, 76);
    for (int i = 1; i <= 4; ++i) {
        const EditRow& r = kEdits[i];
        auto* label = new QLabel(QString::fromUtf8(r.label), this);
        label->move(r.labelLeft, r.labelTop);
        label->adjustSize();
        auto* e = new QLineEdit(this);
        e->setObjectName(QStringLiteral("Edit%1").arg(i));
        e->setGeometry(r.editLeft, r.editTop, 50, 21);
        e->installEventFilter(this);
        edits_[static_cast<std::size_t>(i)] = e;
    }
    struct ButtonRow {
        const char* caption;
        int left;
        void (TRefPnts::*handler)();
    };
    const ButtonRow buttons[] = {
        {"OK", 22, &TRefPnts::OKClick}, {"Zero", 80, &TRefPnts::ZeroClick}, {"Cancel", 138, &TRefPnts::CancelClick}};
    for (const ButtonRow& b : buttons) {
        auto* button = new QPushButton(QString::fromUtf8(b.caption), this);
        button->setObjectName(QString::fromUtf8(b.caption));
        button->setGeometry(b.left, 52, 52, 21);
        button->setAutoDefault(false);
        const auto handler = b.handler;
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
        if (b.left == 138) cancel_ = button;
    }
}

float TRefPnts::EditValue(const QString& text) {
    const std::optional<double> v = ReadTypedNumber(text.toStdString());
    if (!v) return 0;
    if (*v > FLT_MAX) return std::numeric_limits<float>::infinity();
    if (*v < -FLT_MAX) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(*v);
}

bool TRefPnts::event(QEvent* e) {
    if (e->type() == QEvent::WindowActivate) FormActivate();
    return QDialog::event(e);
}

void TRefPnts::FormActivate() {
    for (int i = 1; i <= 4; ++i) {
        char buf[kNumberBuffer];
        const std::string_view t = FormatFixedCut(buf, Field(g_, kEdits[i]), 5, 3, 10);
        edits_[static_cast<std::size_t>(i)]->setText(QString::fromLatin1(t.data(), static_cast<qsizetype>(t.size())));
    }
    cancel_->setFocus();
}

bool TRefPnts::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::KeyPress) {
        for (int i = 1; i <= 4; ++i) {
            QLineEdit* edit = edits_[static_cast<std::size_t>(i)];
            if (watched != edit) continue;
            const auto* k = static_cast<QKeyEvent*>(e);
            const QString t = k->text();
            // Keys without a character (arrows, Tab, Delete) keep their use.
            if (t.isEmpty() || k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) break;
            const QChar ch = t.at(0);
            // A decimal comma (a German or French keypad's) is the point.
            if (ch == u',') {
                if (!edit->text().contains(u'.')) edit->insert(QStringLiteral("."));
                return true;
            }
            const bool accepted = k->key() == Qt::Key_Backspace || ch == u'-' || ch.isDigit() ||
                                  (ch == u'.' && !edit->text().contains(u'.'));
            if (!accepted || (ch.isDigit() && (ch < u'0' || ch > u'9'))) return true;
            break;
        }
    }
    return QDialog::eventFilter(watched, e);
}

void TRefPnts::OKClick() {
    for (int i = 1; i <= 4; ++i) {
        const EditRow& r = kEdits[i];
        const float v = EditValue(edits_[static_cast<std::size_t>(i)]->text());
        Field(g_, r) = v;
        if (v != 0) controls_.SetZeroEnabled(r.point, true);
    }
    if (!g_.refPointsOn) controls_.SetReferenceMode(true);
    accept();
}

void TRefPnts::ZeroClick() {
    ZeroReferencePoint(g_, 1);
    ZeroReferencePoint(g_, 2);
    controls_.SetZeroEnabled(1, false);
    controls_.SetZeroEnabled(2, false);
    controls_.SetReferenceMode(false);
    accept();
}

void TRefPnts::CancelClick() {
    controls_.SetReferenceMode(false);
    reject();
}

} // namespace vx
