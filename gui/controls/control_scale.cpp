#include "gui/controls/control_scale.h"

#include <QAbstractScrollArea>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QVariant>
#include <QWidget>
#include <algorithm>

#include "model/workspace/view.h"

namespace vx {
namespace {

const char* const kGeometry = "vexlinDefaultGeometry";
const char* const kFont = "vexlinDefaultFont";
const char* const kFixedSize = "vexlinDefaultFixedSize";
const char* const kIconSize = "vexlinDefaultIconSize";
const char* const kSize = "vexlinDefaultSize";

bool InLayout(const QLayout* layout, const QWidget* w) {
    if (layout == nullptr) return false;
    if (layout->menuBar() == w) return true;
    for (int i = 0; i < layout->count(); ++i) {
        QLayoutItem* item = layout->itemAt(i);
        if (item == nullptr) continue;
        if (item->widget() == w) return true;
        if (InLayout(item->layout(), w)) return true;
    }
    return false;
}

bool PlacedByLayout(const QWidget* w) {
    const QWidget* parent = w->parentWidget();
    return parent != nullptr && InLayout(parent->layout(), w);
}

// Controls that place their own insides.
bool Compound(const QWidget* w) {
    return qobject_cast<const QAbstractSpinBox*>(w) != nullptr || qobject_cast<const QComboBox*>(w) != nullptr ||
           qobject_cast<const QAbstractScrollArea*>(w) != nullptr || qobject_cast<const QMenuBar*>(w) != nullptr;
}

QVariant Kept(QWidget* w, const char* name, const QVariant& now) {
    QVariant v = w->property(name);
    if (!v.isValid()) {
        w->setProperty(name, now);
        v = now;
    }
    return v;
}

QSize ScaledSize(const QSize& s, float sx, float sy) {
    return {std::max(1, ScaledLength(s.width(), sx)), std::max(1, ScaledLength(s.height(), sy))};
}

void ScaleFont(QWidget* w, float sy, bool root) {
    // Inside the root only a font of the widget's own: an inherited one
    // grows with its owner.
    if (!root && !w->testAttribute(Qt::WA_SetFont) && !w->property(kFont).isValid()) return;
    QFont f = Kept(w, kFont, w->font()).value<QFont>();
    if (f.pixelSize() > 0) f.setPixelSize(std::max(1, ScaledLength(f.pixelSize(), sy)));
    else if (f.pointSizeF() > 0) f.setPointSizeF(f.pointSizeF() * static_cast<double>(sy));
    w->setFont(f);
}

void ScaleOne(QWidget* w, float sx, float sy, bool root) {
    ScaleFont(w, sy, root);
    // A size fixed by the widget's own layout follows the layout.
    const bool laidOut = w->layout() != nullptr && w->layout()->sizeConstraint() == QLayout::SetFixedSize;
    const bool fixed = !laidOut && w->minimumSize() == w->maximumSize();
    if (fixed || w->property(kFixedSize).isValid()) {
        const QSize s = Kept(w, kFixedSize, w->minimumSize()).toSize();
        w->setFixedSize(ScaledSize(s, sx, sy));
    }
    if (auto* bar = qobject_cast<QToolBar*>(w)) bar->setIconSize(ScaledSize(Kept(w, kIconSize, bar->iconSize()).toSize(), sy, sy));
    // A window of free size: its default size, scaled (its layout keeps
    // it at least as large as its contents need).
    if (root && w->isWindow() && !laidOut && !fixed) w->resize(ScaledSize(Kept(w, kSize, w->size()).toSize(), sx, sy));
    // A tool bar places its buttons and its extension itself.
    if (root || PlacedByLayout(w) || qobject_cast<QToolBar*>(w->parentWidget()) != nullptr) return;
    w->setGeometry(ScaledRect(Kept(w, kGeometry, w->geometry()).toRect(), sx, sy));
}

void ScaleTree(QWidget* w, float sx, float sy, bool root) {
    ScaleOne(w, sx, sy, root);
    if (Compound(w)) return;
    for (QObject* o : w->children()) {
        auto* child = qobject_cast<QWidget*>(o);
        if (child == nullptr || child->isWindow()) continue;
        ScaleTree(child, sx, sy, false);
    }
}

} // namespace

float SaneTextScale(float f) { return f >= 0.25f && f <= 4.0f ? f : 1.0f; }

int ScaledLength(int v, float f) { return Nearest(v * static_cast<double>(f)); }

QRect ScaledRect(const QRect& r, float sx, float sy) {
    const int left = ScaledLength(r.left(), sx);
    const int top = ScaledLength(r.top(), sy);
    const int right = ScaledLength(r.left() + r.width(), sx);
    const int bottom = ScaledLength(r.top() + r.height(), sy);
    return {left, top, std::max(0, right - left), std::max(0, bottom - top)};
}

void ScaleMenus(QWidget* owner, float sy) {
    if (owner == nullptr) return;
    for (QMenu* m : owner->findChildren<QMenu*>()) ScaleFont(m, SaneTextScale(sy), true);
}

void ScaleControls(QWidget* root, float sx, float sy) {
    if (root == nullptr) return;
    ScaleTree(root, SaneTextScale(sx), SaneTextScale(sy), true);
    ScaleMenus(root, sy);
}

} // namespace vx
