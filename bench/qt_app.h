// One offscreen Qt application for the benchmarks that draw text and
// images (fonts want one).
#pragma once

#include <QGuiApplication>

namespace vx::bench {

inline void EnsureQtApp() {
    if (QCoreApplication::instance()) return;
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "vexlin_bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

} // namespace vx::bench
