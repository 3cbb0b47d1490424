// Test main for the tests that need Qt's painting but no widgets (the
// platform's Qt canvases, the scene, the exports): one offscreen
// QGuiApplication with a fixed locale, then GoogleTest.
#include <QGuiApplication>
#include <QLocale>
#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/kit/skip_exit_code.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QLocale::setDefault(QLocale::c());
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return vx::test::ExitCode(RUN_ALL_TESTS());
}
