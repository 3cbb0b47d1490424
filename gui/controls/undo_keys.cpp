#include "gui/controls/undo_keys.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace vx {

void InstallUndoKeys(QWidget* window, std::function<void()> undo, std::function<void()> redo) {
    auto* undoKey = new QAction(window);
    undoKey->setObjectName(QStringLiteral("UndoKey"));
    undoKey->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    window->addAction(undoKey);
    QObject::connect(undoKey, &QAction::triggered, window, std::move(undo));

    auto* redoKey = new QAction(window);
    redoKey->setObjectName(QStringLiteral("RedoKey"));
    redoKey->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    window->addAction(redoKey);
    QObject::connect(redoKey, &QAction::triggered, window, std::move(redo));
}

} // namespace vx
