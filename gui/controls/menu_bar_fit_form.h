// A menu bar whose face is chosen by measuring: the first of the window
// faces (the sans at 12 px, then the narrow sans at 12 and 11 px) in which
// every item of the bar, the ones hidden now included, lies inside the
// bar's width, so that no item ever goes into the overflow button. Items
// inside the menus do not count: they never widen the bar.
#pragma once

class QMenuBar;

namespace vx {

// Sets the bar's font (not its menus') to the first face that fits `width`
// pixels, each candidate's pixel size times `scale` (the large font's
// vertical factor); the last candidate if none does. Returns the width the
// bar's items take in the chosen face.
int FitMenuBarFont(QMenuBar* bar, int width, float scale = 1);

} // namespace vx
