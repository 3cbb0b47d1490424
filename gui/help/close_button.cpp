#include "gui/help/close_button.h"

#include <QDialog>
#include <QPushButton>

#include "gui/controls/focus_mark.h"
#include "platform/qt/qt_fonts.h"

namespace vx {

QPushButton* AddCloseButton(QDialog* window, int width, int top) {
    constexpr int kWidth = 75;
    constexpr int kHeight = 23;
    auto* b = new QPushButton(QStringLiteral("Close"), window);
    b->setObjectName(QStringLiteral("CloseHelp"));
    b->setFont(UiFont(UiFace::Sans, 11));
    b->setGeometry(width - kWidth - 8, top + (kCloseRowHeight - kHeight) / 2, kWidth, kHeight);
    b->setDefault(true);
    ShowFocusMark(b);
    QObject::connect(b, &QPushButton::clicked, window, &QDialog::accept);
    return b;
}

} // namespace vx
