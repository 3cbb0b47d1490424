// The undo and redo keys of a window that has an UnDo button (the main
// window and the diagram windows): Ctrl+Z undoes, Ctrl+Shift+Z and Ctrl+Y
// redo, whether or not the button and the undo line are shown. The window
// says what each does to it; the actions are named "UndoKey" and "RedoKey".
#pragma once

#include <functional>

class QWidget;

namespace vx {

void InstallUndoKeys(QWidget* window, std::function<void()> undo, std::function<void()> redo);

} // namespace vx
