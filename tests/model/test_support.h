// Shared fixture: a gear model in its start-up state.
#pragma once

#include <gtest/gtest.h>

#include "model/workspace/defaults.h"
#include "model/state/gear_state.h"

namespace vx::test {

class StartedGear : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_EQ(StartUp(g), MidGearResult::Found); }
    GearState g;
};

} // namespace vx::test
