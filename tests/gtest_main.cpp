// Test main for the plain tests (no Qt).
#include <gtest/gtest.h>

#include "tests/kit/skip_exit_code.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return vx::test::ExitCode(RUN_ALL_TESTS());
}
