#include "gui/controls/classic_bar_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

namespace vx {
namespace {

class ClassicBarKeys final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        auto* bar = qobject_cast<QScrollBar*>(watched);
        if (bar == nullptr) return false;
        switch (static_cast<QKeyEvent*>(e)->key()) {
        case Qt::Key_Left: bar->triggerAction(QAbstractSlider::SliderSingleStepSub); return true;
        case Qt::Key_Right: bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); return true;
        default: return false; // Up, Down, PgUp, PgDn, Home, End: already as classic
        }
    }
};

} // namespace

void InstallClassicBarKeys() {
    static ClassicBarKeys* filter = nullptr;
    if (filter != nullptr || QCoreApplication::instance() == nullptr) return;
    filter = new ClassicBarKeys(QCoreApplication::instance());
    QCoreApplication::instance()->installEventFilter(filter);
}

} // namespace vx
