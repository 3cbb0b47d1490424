// The exit code of a test program: a run in which nothing failed but some
// tests were skipped ends with kSkippedExitCode, so that ctest reports the
// program as skipped instead of passed.
#pragma once

#include <gtest/gtest.h>

namespace vx::test {

constexpr int kSkippedExitCode = 77;

inline int ExitCode(int runAllTestsResult) {
    if (runAllTestsResult != 0) return runAllTestsResult;
    return ::testing::UnitTest::GetInstance()->skipped_test_count() > 0 ? kSkippedExitCode : 0;
}

} // namespace vx::test
