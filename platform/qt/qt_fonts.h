// The faces the windows use, named so that a layout is the same on every
// machine: the classic "MS Sans Serif" and "Times New Roman" become the
// Liberation faces every Debian desktop has. Every attribute is set, so a
// widget given one of these inherits nothing from its parent's font.
#pragma once

#include <QFont>
#include <QString>

namespace vx {

enum class UiFace { Sans, SansNarrow, Serif, Mono };

inline QFont UiFont(UiFace face, int pixelSize, bool bold = false, bool underline = false) {
    static const char* const kFamilies[] = {"Liberation Sans", "Liberation Sans Narrow", "Liberation Serif",
                                            "Liberation Mono"};
    QFont f(QString::fromLatin1(kFamilies[static_cast<int>(face)]));
    if (face == UiFace::Mono) f.setStyleHint(QFont::Monospace);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    f.setItalic(false);
    f.setUnderline(underline);
    return f;
}

} // namespace vx
