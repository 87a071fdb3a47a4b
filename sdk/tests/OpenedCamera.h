// Test fixture: simulated cameras opened through ZDQ_Init, and the exact
// test pattern the simulator sends, computed here from its definition.
#pragma once

#include <chrono>
#include <cstdint>
#include <thread>
#include <vector>

#include "SimCamera.h"
#include "ZDQApi.h"
#include "api/ExportFrame.h"

// Monochrome models of the station's camera: 1280 x 1024 (MT9M001) and
// 2592 x 1944; a 2592 x 1944 model with an FPGA that empties its frame
// buffer; a colour 1280 x 1024 model.
constexpr int kTypeMono1280 = 1;
constexpr int kTypeMono2592 = 9;
constexpr int kType2592WithFpga = 32;
constexpr int kTypeColour1280 = 0;

class OpenedCameraTest : public SimTest {
  protected:
    void TearDown() override {
        ZDQ_UnInit();
        SimTest::TearDown();
    }

    // Plugs a camera into slot 0 and opens it as device 0.
    CDevice& Open(const MlSimProfile& profile) {
        Plug(0, profile);
        EXPECT_EQ(ZDQ_Init(), RET_SUCCESS);
        CDevice* pDevice = FrameGetDevice(0);
        EXPECT_NE(pDevice, nullptr);
        return *pDevice;
    }
    CDevice& Open(int nType) { return Open(CameraProfile(nType)); }

    static uint64_t FramesSent(int nSlot = 0) {
        MlSimFrameInfo info{};
        mlsim_frame_info(nSlot, &info);
        return info.frames_sent;
    }
};

// The simulator's pattern byte at output column c, row r of frame n (8-bit
// samples, the chip's own flip and mirror applied).
inline uint8_t PatternByte(int c, int r, uint64_t n, int nWidth, int nHeight, bool bChipFlip,
                           bool bChipMirror) {
    const int x = bChipMirror ? nWidth - 1 - c : c;
    const int y = bChipFlip ? nHeight - 1 - r : r;
    return static_cast<uint8_t>((x + 3 * y + n) & 0xFF);
}

inline std::vector<uint8_t> PatternFrame(uint64_t n, int nWidth, int nHeight, bool bChipFlip,
                                         bool bChipMirror) {
    std::vector<uint8_t> frame(static_cast<size_t>(nWidth) * nHeight);
    for (int r = 0; r < nHeight; ++r) {
        for (int c = 0; c < nWidth; ++c) {
            frame[static_cast<size_t>(r) * nWidth + c] =
                PatternByte(c, r, n, nWidth, nHeight, bChipFlip, bChipMirror);
        }
    }
    return frame;
}

// Waits up to nMs for a condition, polling; the bounds leave room for a
// loaded machine.
template <typename Condition>
bool WaitFor(Condition condition, int nMs = 20000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(nMs);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return true;
}
