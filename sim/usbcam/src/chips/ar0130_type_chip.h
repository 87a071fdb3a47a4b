// The 1280 x 960 sensors with 16-bit registers at 16-bit addresses and an
// on-chip automatic exposure engine (AR0130, MT9M031). They differ in where
// the active array starts in the window registers.
//
// Window: X_ADDR_START .. X_ADDR_END, Y_ADDR_START .. Y_ADDR_END; digital
// binning 2 x 2 (DIGITAL_BINNING bits 0-1 = 2) or a row skip (Y_ODD_INC
// 2n - 1 reads every n-th row). A frame lasts FRAME_LENGTH_LINES rows of
// LINE_LENGTH_PCK clocks; the chip lengthens FRAME_LENGTH_LINES itself to
// hold the window and the exposure. Exposure: COARSE_INTEGRATION_TIME rows
// plus FINE_INTEGRATION_TIME clocks, or, while the engine runs, the
// engine's own row count (0x3164).
//
// The engine is fitted when the embedded-data register 0x3064 has bit 7 or
// 8 set and runs while AE_CTRL_REG bit 0 is set. It measures the mean luma
// of the scene, which grows by kLumaPerLine codes (of 4095) per row of
// exposure, and after each frame moves its row count half way towards the
// one whose luma meets its target (AE_LUMA_TARGET_REG, a 12-bit luma),
// within AE_MIN_EXPOSURE_REG .. AE_MAX_EXPOSURE_REG.
#pragma once

#include <cstdint>
#include <map>

#include "../sensor_chip.h"

namespace usbcam {

class Ar0130TypeChip : public RegisterBankChip {
  public:
    enum : uint16_t {
        Y_ADDR_START = 0x3002,
        X_ADDR_START = 0x3004,
        Y_ADDR_END = 0x3006,
        X_ADDR_END = 0x3008,
        FRAME_LENGTH_LINES = 0x300A,
        LINE_LENGTH_PCK = 0x300C,
        COARSE_INTEGRATION_TIME = 0x3012,
        FINE_INTEGRATION_TIME = 0x3014,
        RESET_REGISTER = 0x301A,
        DATA_PEDESTAL = 0x301E,
        VT_PIX_CLK_DIV = 0x302A,
        DIGITAL_BINNING = 0x3032,
        READ_MODE = 0x3040,
        FLASH = 0x3046,
        GREEN1_GAIN = 0x3056,
        BLUE_GAIN = 0x3058,
        RED_GAIN = 0x305A,
        GREEN2_GAIN = 0x305C,
        GLOBAL_GAIN = 0x305E,
        EMBEDDED_DATA_CTRL = 0x3064,
        Y_ODD_INC = 0x30A6,
        DIGITAL_TEST = 0x30B0,
        AE_CTRL_REG = 0x3100,
        AE_LUMA_TARGET_REG = 0x3102,
        AE_MAX_EXPOSURE_REG = 0x311C,
        AE_MIN_EXPOSURE_REG = 0x311E,
        AE_ROI_X_START_OFFSET = 0x3140,
        AE_ROI_Y_START_OFFSET = 0x3142,
        AE_ROI_X_SIZE = 0x3144,
        AE_ROI_Y_SIZE = 0x3146,
        AE_COARSE_INTEGRATION_TIME = 0x3164,
    };
    static constexpr int kLumaPerLine = 8;
    // Rows of vertical blanking the frame needs beyond the window.
    static constexpr int kMinBlankRows = 37;

    Ar0130TypeChip(int columnOffset, int rowOffset)
        : columnOffset_(columnOffset), rowOffset_(rowOffset) {}

    int adcBits() const override { return 12; }
    bool writeRegister(uint16_t address, uint16_t value) override;
    SensorReadout readout() const override;
    void onFrame() override;
    // Without the engine the embedded-data register reads bits 7 and 8 clear.
    void fitEngine(bool fitted) override { engineFitted_ = fitted; }

  protected:
    std::map<uint16_t, uint16_t> powerOnValues() const override;
    void afterWrite(uint16_t address, uint16_t value) override;

  private:
    bool engineRunning() const;
    int outputRows() const;

    const int columnOffset_;
    const int rowOffset_;
    bool engineFitted_ = true;
};

}  // namespace usbcam
