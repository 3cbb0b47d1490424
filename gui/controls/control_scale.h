// The large font for a window's controls: every control of a window at its
// default place and size times the text scale (sx across, sy down), and
// every font's pixel size times sy, so that the window at the large font
// is the window at the default font, larger.
//
// The first call for a widget keeps its default geometry, font, fixed size
// and tool bar icon size (in dynamic properties); every call sets them from
// those, so calls in any order and any number of times give the same
// window. A control placed by a layout takes the font only (the layout
// places it), and its fixed size if it has one. The insides of compound
// controls (spin boxes, combo boxes, scroll areas) are left to them, and
// windows of their own are left alone.
#pragma once

#include <QRect>

class QWidget;

namespace vx {

// Scales `root` (its fixed size and font, not its place on the screen) and
// every control inside it.
void ScaleControls(QWidget* root, float sx, float sy);

// A text scale factor as the windows take it: the factor itself where it
// is sane (1/4 .. 4), else 1, the default size.
float SaneTextScale(float f);

// v × f to the nearest pixel.
int ScaledLength(int v, float f);
// A default-size rectangle at the scale: its corners scaled, so that
// rectangles that touch at the default size touch at any scale.
QRect ScaledRect(const QRect& r, float sx, float sy);

} // namespace vx
