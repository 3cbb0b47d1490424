// A visible mark on a focused push button. The desktop style marks keyboard
// focus faintly, and not at all after the program moved the focus itself
// (Enter in an editor's box moving on to Close), so a user working with the
// keys cannot tell which button Enter or Space would press. A button given
// this mark draws the classic dotted rectangle inside its face while it has
// the focus, however the focus came; a button too small for it (the
// editors' locator buttons) has its face filled with the highlight colour.
#pragma once

class QPushButton;

namespace vx {

void ShowFocusMark(QPushButton* button);

} // namespace vx
