#include "cli/gui_app.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QLocale>
#include <cstdlib>

namespace vx::cli {

void EnsureGuiApplication() {
    if (QCoreApplication::instance()) return;
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QLocale::setDefault(QLocale::c());
    static int argc = 1;
    static char name[] = "vexlin-cli";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

} // namespace vx::cli
