// The laser-profile library stand-in: run handles, the ROI, the line search
// and the measurement range.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "ZDQ3DApi.h"
#include "laser3d_control.h"

namespace {

std::vector<unsigned char> Block(int width, int height, float z0, float zPerRow) {
    std::vector<unsigned char> block(LASER3D_BLOCK_BYTES, 0);
    block[0] = LASER3D_MAGIC;
    const int32_t area[4] = {16, 32, width, height};
    std::memcpy(block.data() + LASER3D_AT_COLUMN, area, sizeof area);
    std::memcpy(block.data() + LASER3D_AT_Z0, &z0, sizeof z0);
    std::memcpy(block.data() + LASER3D_AT_Z_PER_ROW, &zPerRow, sizeof zPerRow);
    const float range[4] = {0, 100, -5, 5};
    std::memcpy(block.data() + LASER3D_AT_RANGE, range, sizeof range);
    return block;
}

class Laser3DTest : public ::testing::Test {
  protected:
    void TearDown() override {
        laser3d_sim_set_param_length(0);
        for (uint64_t handle : m_handles) {
            ZDQ_Uninit3DRunParam(handle);
        }
    }
    uint64_t Init(const std::vector<unsigned char>& block) {
        uint64_t handle = 0;
        EXPECT_EQ(ZDQ_Init3DRunParam(block.data(), &handle), 1);
        m_handles.push_back(handle);
        return handle;
    }
    std::vector<uint64_t> m_handles;
};

TEST_F(Laser3DTest, HandlesPerBlockAndRefusedBlocks) {
    EXPECT_EQ(ZDQ_Get3DParamLength(), LASER3D_BLOCK_BYTES);
    const int32_t nOpen = laser3d_sim_open_handles();
    const uint64_t first = Init(Block(8, 6, 0, 1));
    const uint64_t second = Init(Block(8, 6, 0, 1));
    EXPECT_NE(first, second);
    EXPECT_EQ(laser3d_sim_open_handles(), nOpen + 2);
    EXPECT_EQ(ZDQ_Uninit3DRunParam(first), 1);
    EXPECT_EQ(ZDQ_Uninit3DRunParam(first), -1);
    EXPECT_EQ(laser3d_sim_open_handles(), nOpen + 1);

    std::vector<unsigned char> bad = Block(8, 6, 0, 1);
    bad[0] = 0x5B;
    uint64_t handle = 0;
    EXPECT_EQ(ZDQ_Init3DRunParam(bad.data(), &handle), -1);
    EXPECT_EQ(ZDQ_Init3DRunParam(Block(0, 6, 0, 1).data(), &handle), -1);
    EXPECT_EQ(ZDQ_Init3DRunParam(nullptr, &handle), -1);
    laser3d_sim_set_param_length(600);
    EXPECT_EQ(ZDQ_Get3DParamLength(), 600);
}

TEST_F(Laser3DTest, LineCentroidPerColumnAndNoLine) {
    const int width = 4, height = 8;
    const uint64_t handle = Init(Block(width, height, 1.0f, 0.5f));
    std::vector<unsigned char> frame(width * height, 10);
    // Column 0: one row at 3. Column 1: rows 4 and 5 equal -> 4.5.
    // Column 2: a weak run at 2 and the brighter at 6. Column 3: nothing;
    // row 0 (the header) is bright everywhere and never counts.
    for (int c = 0; c < width; ++c) {
        frame[c] = 255;
    }
    frame[3 * width + 0] = 200;
    frame[4 * width + 1] = 150;
    frame[5 * width + 1] = 150;
    frame[2 * width + 2] = 60;
    frame[6 * width + 2] = 250;
    std::vector<float> z(width);
    std::vector<int> x(width);
    ASSERT_EQ(ZDQ_ImageToPointCloud(frame.data(), handle, 50, z.data(), x.data()), 1);
    EXPECT_FLOAT_EQ(z[0], 1.0f + 0.5f * 3);
    EXPECT_FLOAT_EQ(z[1], 1.0f + 0.5f * 4.5f);
    EXPECT_FLOAT_EQ(z[2], 1.0f + 0.5f * 6);
    EXPECT_FLOAT_EQ(z[3], ZDQ3D_INVALID_Z);
    EXPECT_EQ(x, (std::vector<int>{0, 1, 2, 3}));

    // A ROI moves X and Z and narrows the profile.
    ASSERT_EQ(ZDQ_Set3DROI(handle, 1, 2, 2, 4), 1);
    std::vector<unsigned char> roiFrame(2 * 4, 0);
    roiFrame[2 * 2 + 1] = 90;
    ASSERT_EQ(ZDQ_ImageToPointCloud(roiFrame.data(), handle, 50, z.data(), x.data()), 1);
    EXPECT_FLOAT_EQ(z[0], ZDQ3D_INVALID_Z);
    EXPECT_FLOAT_EQ(z[1], 1.0f + 0.5f * (2 + 2));
    EXPECT_EQ(x[0], 1);
    EXPECT_EQ(x[1], 2);
    int32_t roi[4] = {};
    ASSERT_EQ(laser3d_sim_roi(handle, &roi[0], &roi[1], &roi[2], &roi[3]), 1);
    EXPECT_EQ(roi[0], 1);
    EXPECT_EQ(ZDQ_Set3DROI(handle, 3, 0, 2, 4), -1) << "beyond the area";
    EXPECT_EQ(ZDQ_ImageToPointCloud(roiFrame.data(), 1, 50, z.data(), x.data()), -1);
}

TEST_F(Laser3DTest, MeasurementRangeFromTheBlock) {
    const uint64_t handle = Init(Block(8, 6, 0, 1));
    float range[4] = {};
    ASSERT_EQ(ZDQ_GetMeasurementRange(handle, &range[0], &range[1], &range[2], &range[3]), 1);
    EXPECT_FLOAT_EQ(range[1], 100.0f);
    EXPECT_FLOAT_EQ(range[2], -5.0f);
    EXPECT_EQ(ZDQ_GetMeasurementRange(handle, nullptr, nullptr, nullptr, nullptr), 1);
}

}  // namespace
