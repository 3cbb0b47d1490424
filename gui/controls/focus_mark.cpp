#include "gui/controls/focus_mark.h"

#include <QApplication>
#include <QPainter>
#include <QPointer>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOption>

namespace vx {
namespace {

// Buttons narrower or lower than this take the filled mark.
constexpr int kSmallButton = 16;

class FocusMarkStyle final : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
        QProxyStyle::drawControl(element, option, painter, widget);
        if (element != CE_PushButton || (option->state & State_HasFocus) == 0) return;
        const QRect r = option->rect;
        painter->save();
        if (r.width() < kSmallButton || r.height() < kSmallButton) {
            painter->fillRect(r.adjusted(2, 2, -2, -2), option->palette.color(QPalette::Highlight));
        } else {
            QPen pen(option->palette.color(QPalette::ButtonText));
            pen.setStyle(Qt::DotLine);
            pen.setWidth(0);
            painter->setPen(pen);
            painter->setBrush(Qt::NoBrush);
            painter->drawRect(r.adjusted(3, 3, -4, -4));
        }
        painter->restore();
    }
};

// One style for every marked button, made over the application's style the
// first time it is needed and deleted with the application.
QStyle* MarkStyle() {
    static QPointer<FocusMarkStyle> style;
    if (style.isNull()) {
        style = new FocusMarkStyle(QApplication::style()->name());
        style->setParent(qApp);
    }
    return style.data();
}

} // namespace

void ShowFocusMark(QPushButton* button) {
    if (button == nullptr || qApp == nullptr) return;
    button->setStyle(MarkStyle());
}

} // namespace vx
