// One offscreen Qt application for every benchmark that draws text and
// images (fonts want one) or makes windows: a widget application, so that a
// window benchmark can run after a drawing one in the same program.
#pragma once

#include <QApplication>

namespace vx::bench {

inline void EnsureQtApp() {
    if (QCoreApplication::instance()) return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vexlin_bench";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

} // namespace vx::bench
