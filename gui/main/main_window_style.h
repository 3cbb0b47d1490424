// The main window's faces and background, shared by its construction and
// its controls' layout.
#pragma once

#include <QColor>
#include <QFont>

#include "platform/qt/qt_fonts.h"

namespace vx {

inline const QColor kMainSilver{192, 192, 192};

// The controls' captions and hints.
inline constexpr int kHintPixels = 11;
inline QFont SansFont() { return UiFont(UiFace::Sans, kHintPixels); }
// The window's own face, and the UnDo button's.
inline QFont SerifBoldFont(bool underline) { return UiFont(UiFace::Serif, 13, true, underline); }

} // namespace vx
