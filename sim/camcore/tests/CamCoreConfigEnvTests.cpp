#include <gtest/gtest.h>

#include <string>

#include "CamCore.h"

// CAMCORE_SIM asks for a 64 x 32 sensor with the dark scene.
TEST(CamCoreConfigEnv, TheEnvironmentSetsTheSensor) {
    ASSERT_EQ(InitDevice("./"), 0);
    const std::string name = DeviceName(0);
    EXPECT_EQ(RecvMemSize(name.c_str()), CAMCORE_HEADER_LENGTH + 64 * 32 * 2);
    EXPECT_EQ(GetResWidth(2, name.c_str()), 16);
    EXPECT_EQ(GetResHeight(2, name.c_str()), 8);
    EXPECT_EQ(ExitDevice(), 0);
}
