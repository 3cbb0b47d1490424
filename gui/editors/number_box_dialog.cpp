#include "gui/editors/number_box_dialog.h"
#include "gui/controls/control_scale.h"
#include "gui/controls/focus_mark.h"
#include "platform/qt/qt_fonts.h"
#include "platform/scaled_canvas.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

namespace vx {
namespace {
const char* const kNumberProperty = "vexlinBoxNumber";
// Set while the focus is in another program, the box's edit not yet committed.
const char* const kAwayProperty = "vexlinBoxAway";
}

NumberBoxFilter::NumberBoxFilter(KeyRules rules, Handlers handlers, QObject* parent)
    : QObject(parent), rules_(rules), handlers_(std::move(handlers)) {}

void NumberBoxFilter::Attach(QLineEdit* box, int number) {
    box->setProperty(kNumberProperty, number);
    box->installEventFilter(this);
}

bool NumberBoxFilter::eventFilter(QObject* watched, QEvent* e) {
    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box == nullptr) return false;
    const int n = box->property(kNumberProperty).toInt();
    if (e->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(e)->reason();
        // A context menu taking the focus is not leaving the box, nor is the
        // user going to another program: the box commits once the focus
        // moves on within the program, or when its dialog closes meanwhile.
        if (reason == Qt::PopupFocusReason) return false;
        if (reason == Qt::ActiveWindowFocusReason && QApplication::activeWindow() == nullptr) {
            box->setProperty(kAwayProperty, true);
            return false;
        }
        box->setProperty(kAwayProperty, false);
        if (handlers_.left) handlers_.left(n);
        return false;
    }
    if (e->type() == QEvent::FocusIn) {
        box->setProperty(kAwayProperty, false); // back in the box: its next exit commits
        return false;
    }
    if (e->type() == QEvent::Hide && box->property(kAwayProperty).toBool()) {
        box->setProperty(kAwayProperty, false);
        if (handlers_.left) handlers_.left(n);
        return false;
    }
    if (e->type() != QEvent::KeyPress) return false;

    auto* k = static_cast<QKeyEvent*>(e);
    switch (k->key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_Meta:
        return false; // the dialog's keys, not the box's
    default: break;
    }
    if (handlers_.anyKey) handlers_.anyKey(n);

    char32_t ch = 0;
    if (k->key() == Qt::Key_Backspace || k->key() == Qt::Key_Delete) {
        ch = 8; // both remove text: taken like Backspace
    } else if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
        ch = 13;
    } else if (k->text().isEmpty() || k->matches(QKeySequence::Copy) || k->matches(QKeySequence::SelectAll)) {
        return false; // cursor movement and copying change nothing
    } else {
        ch = k->text().toUcs4().value(0);
        if (ch < 32 || ch == 127) return true; // paste, cut, undo of the box: not typed digits
    }

    switch (FilterKey(ch, box->text().toStdString(), rules_)) {
    case KeyVerdict::Accept:
        if (handlers_.accepted) handlers_.accepted(n);
        if (ch == U',') {
            // The decimal comma of a keypad: the box takes the point.
            box->insert(QStringLiteral("."));
            return true;
        }
        return false;
    case KeyVerdict::Enter:
        if (handlers_.accepted) handlers_.accepted(n);
        if (handlers_.enter) handlers_.enter(n);
        return true;
    case KeyVerdict::PassOn: return false;
    case KeyVerdict::Discard: break;
    }
    return true;
}

QFont DialogFont() { return UiFont(UiFace::Sans, 11); }

QLineEdit* MakeNumberBox(QWidget* parent, const char* name, QRect geometry, bool frame, QColor background) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(QString::fromUtf8(name));
    box->setFont(DialogFont());
    box->setFrame(frame);
    box->setGeometry(geometry);
    if (!frame) {
        // The classic boxes are 40 pixels wide: the narrow face fits "302.000".
        box->setFont(UiFont(UiFace::SansNarrow, 11));
        box->setTextMargins(1, 0, 0, 0);
        box->setContentsMargins(0, 0, 0, 0);
    }
    QPalette pal = box->palette();
    pal.setColor(QPalette::Base, background);
    pal.setColor(QPalette::Text, Qt::black);
    box->setPalette(pal);
    box->setContextMenuPolicy(Qt::NoContextMenu);
    return box;
}

QPushButton* MakeDialogButton(QWidget* parent, const char* name, const QString& caption, QRect geometry) {
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromUtf8(name));
    b->setFont(DialogFont());
    b->setGeometry(geometry);
    b->setAutoDefault(false);
    b->setDefault(false);
    ShowFocusMark(b);
    return b;
}

CanvasDialog::CanvasDialog(int clientWidth, int clientHeight, QWidget* parent)
    : QDialog(parent), surface_(clientWidth, clientHeight) {
    setFixedSize(clientWidth, clientHeight);
    setFont(DialogFont());
    setSizeGripEnabled(false);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

Rgb CanvasDialog::Background() const {
    const QColor c = palette().color(QPalette::Window);
    return {static_cast<std::uint8_t>(c.red()), static_cast<std::uint8_t>(c.green()),
            static_cast<std::uint8_t>(c.blue())};
}

void CanvasDialog::FollowTextScale(const float* sx, const float* sy) {
    followX_ = sx;
    followY_ = sy;
}

void CanvasDialog::setVisible(bool visible) {
    if (visible && followX_ != nullptr && followY_ != nullptr) {
        const float sx = SaneTextScale(*followX_), sy = SaneTextScale(*followY_);
        if (sx != sx_ || sy != sy_) {
            ScaleControls(this, sx, sy);
            sx_ = sx;
            sy_ = sy;
            surface_ = QImageCanvas(width(), height());
        }
    }
    QDialog::setVisible(visible);
}

void CanvasDialog::paintEvent(QPaintEvent*) {
    if (sx_ == 1 && sy_ == 1) {
        DrawSurface(surface_);
    } else {
        ScaledCanvas scaled(surface_, sx_, sy_);
        DrawSurface(scaled);
    }
    QPainter p(this);
    p.drawImage(0, 0, surface_.Image());
}

} // namespace vx
