#include "gui/controls/dyn_var_bars.h"

#include <QByteArray>
#include <QEvent>
#include <QKeyEvent>
#include <QScrollBar>

#include "model/workspace/dynvar.h"

namespace vx {
namespace {

constexpr const char* kHints[5] = {
    nullptr,
    "Change Last Variable Clicked",
    "Change Next to Last Variable Clicked",
    "Change 2nd to Last Variable Clicked",
    "Change 3rd to Last Variable Clicked",
};

// The keys that move a bar; their release ends a gesture (the Tab that
// brought the focus does not).
bool IsMovingKey(int key) {
    switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End: return true;
    default: return false;
    }
}

// The pointer events a disabled widget passes on to its parent.
bool IsPointerEvent(QEvent::Type t) {
    switch (t) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::Wheel: return true;
    default: return false;
    }
}

} // namespace

DynVarBars::DynVarBars(GearState& g, QWidget* parent, const char* namePrefix, int left, int top, int pitch)
    : QObject(parent), g_(g) {
    for (int n = 1; n <= 4; ++n) {
        auto* s = new QScrollBar(Qt::Horizontal, parent);
        s->setObjectName(QString::fromUtf8(namePrefix) + QString::number(n));
        s->setGeometry(left, top + pitch * (n - 1), 121, 10);
        s->setRange(-200, 200);
        s->setSingleStep(1);
        s->setPageStep(10);
        s->setValue(0);
        s->setToolTip(QString::fromUtf8(kHints[n]));
        s->setFocusPolicy(Qt::StrongFocus);
        s->setVisible(false);
        s->installEventFilter(this);
        bars_[static_cast<std::size_t>(n)] = s;
        connect(s, &QScrollBar::valueChanged, this, [this, n](int p) { Change(n, p); });
    }
}

DynVarBars::~DynVarBars() {
    for (QScrollBar* s : bars_)
        if (s != nullptr) s->removeEventFilter(this);
}

void DynVarBars::SetVisible(bool visible) {
    for (int n = 1; n <= 4; ++n) Bar(n)->setVisible(visible);
}

void DynVarBars::SetEnabled(int n, bool enabled) { Bar(n)->setEnabled(enabled); }

void DynVarBars::Change(int n, int position) {
    DynVarBarChange(g_, n, position);
    // The bar rests at 0; putting it back runs this handler once more with 0.
    Bar(n)->setValue(0);
    if (onChanged) onChanged(n);
}

bool DynVarBars::eventFilter(QObject* watched, QEvent* e) {
    for (int n = 1; n <= 4; ++n) {
        if (watched != Bar(n)) continue;
        // A greyed bar (an empty slot) takes no part in anything: its clicks
        // neither end a gesture nor reach the picture behind it.
        if (!Bar(n)->isEnabled() && IsPointerEvent(e->type())) return true;
        bool gestureEnd = false;
        switch (e->type()) {
        case QEvent::FocusIn: DynVarBarEnter(g_, n); break;
        case QEvent::MouseButtonRelease: gestureEnd = true; break;
        case QEvent::KeyRelease: {
            const auto* k = static_cast<QKeyEvent*>(e);
            gestureEnd = IsMovingKey(k->key()) && !k->isAutoRepeat();
            break;
        }
        default: break;
        }
        if (!gestureEnd) break;
        // The bar finishes its own handling of the release first (an arrow
        // stops repeating, a drag ends), then the gesture ends.
        watched->event(e);
        DynVarBarGestureEnd(g_, n);
        if (onGestureEnd) onGestureEnd(n);
        return true;
    }
    return QObject::eventFilter(watched, e);
}

} // namespace vx
