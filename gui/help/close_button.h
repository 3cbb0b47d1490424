// The Close button of the help windows: a row under the window's content,
// the button at its right end. Enter and Space on the button close the
// window, as does Escape anywhere in it.
#pragma once

class QDialog;
class QPushButton;

namespace vx {

// The height of the row the button stands in.
constexpr int kCloseRowHeight = 32;

// Adds the button in a row from `top` to top + kCloseRowHeight across the
// window's `width`.
QPushButton* AddCloseButton(QDialog* window, int width, int top);

} // namespace vx
