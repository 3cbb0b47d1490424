// The fixture of the tests that start from the program's start-up state:
// the default design with mid gear found (a failed search fails the test).
#pragma once

#include <gtest/gtest.h>

#include "model/state/gear_state.h"
#include "model/workspace/defaults.h"

namespace vx::test {

class StartedGear : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(StartUp(g), MidGearResult::Found); }
    GearState g; // the fixture lives on the heap, and so does this
};

} // namespace vx::test
