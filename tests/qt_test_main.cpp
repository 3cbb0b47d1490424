// Test main for everything that needs Qt: one offscreen QApplication with a
// fixed locale, then GoogleTest, with a guard around every test that closes
// any modal dialog left open.
#include <QApplication>
#include <QLocale>
#include <cstdlib>

#include <gtest/gtest.h>

#include "tests/kit/skip_exit_code.h"
#include "tests/kit/widget_test_support.h"

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QLocale::setDefault(QLocale::c());
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::UnitTest::GetInstance()->listeners().Append(new vx::test::ModalDialogGuardListener);
    return vx::test::ExitCode(RUN_ALL_TESTS());
}
