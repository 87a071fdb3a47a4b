// CFpgaRegisters: the camera FPGA's relate registers. It keeps a 16-bit
// shadow of every register with one, reads them all when the camera opens,
// writes a register only when the value differs from its shadow and writes
// them all back after a reset or reconnection. Every access is gated by the
// capability record: a register the FPGA lacks answers RET_NOTSUPPORT with
// its log line and sends nothing. No lock of its own: register changes of
// one device come from one thread.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>

#include "usb/VendorRequests.h"

// FPGA register numbers named in messages.
enum FpgaRegister : int {
    FPGAREG_WORKING_MODE = 0,
    FPGAREG_TRIGGER_DELAY = 3,
    FPGAREG_STROBE_DELAY = 4,
    FPGAREG_MULTIFRAMES_NUM = 8,
    FPGAREG_COLOR_MODE = 9,
    FPGAREG_AWB = 16,  // 16-18: red, green, blue gain
    FPGAREG_CCM = 19,  // 19-27: the colour matrix row by row
    FPGAREG_FIXED_FRAME_RATE = 28,
    FPGAREG_IO_MODE = 29,
    FPGAREG_IO_STATUS = 30,
    FPGAREG_IO_FILTER = 31,
    FPGAREG_WORKING_MODE_EX = 33,
    FPGAREG_WATERMARK_MODE = 34,
    FPGAREG_EXP_LINE_LSB = 35,
    FPGAREG_EXP_LINE_MSB = 36,
    FPGAREG_TRIGGER_SIGNAL_PERIOD = 53,
    FPGAREG_CAP_XXX = 65,  // 65-68
    FPGAREG_FIXED_FRAME_RATE_EXT = 69,
    FPGAREG_VERSION_STATUS = 128,
    FPGAREG_VERSION_STATUS_EX = 241,
};

// Bits of the working-mode register (FPGAREG_WORKING_MODE). The trigger mode
// is b0, b1 and b12 together: free run none of them, external trigger b0,
// software trigger b12, fixed frame rate b0 and b12, high/low fixed frame
// rate all three.
enum WorkingMode : uint16_t {
    WORKINGMODE_TRIGGER_B0 = 0x0001,
    WORKINGMODE_TRIGGER_B1 = 0x0002,
    WORKINGMODE_16BIT_DATA = 0x0010,
    WORKINGMODE_SENSITIVITY = 0x00E0,         // b5-b7: picks the 8 bits a 16-bit sample packs to
    WORKINGMODE_EMPTY_FRAME_BUFFER = 0x0100,  // one-shot: empties the frame buffer
    WORKINGMODE_TRIGGER_METHOD = 0x0600,      // b9-b10: edge or level of the trigger input
    WORKINGMODE_LUT_ON = 0x0800,
    WORKINGMODE_TRIGGER_B12 = 0x1000,
    WORKINGMODE_TRIGGER_MODE =
        WORKINGMODE_TRIGGER_B0 | WORKINGMODE_TRIGGER_B1 | WORKINGMODE_TRIGGER_B12,
};
constexpr int kWorkingModeSensitivityShift = 5;
constexpr int kWorkingModeTriggerMethodShift = 9;

// A triggered mode (b0 or b12 set): frames come only on a trigger.
constexpr bool IsTriggeredWorkingMode(uint16_t wMode) {
    return (wMode & (WORKINGMODE_TRIGGER_B0 | WORKINGMODE_TRIGGER_B12)) != 0;
}
// The software trigger (b12 set, b0 clear): each frame is asked for.
constexpr bool IsSoftwareTriggerWorkingMode(uint16_t wMode) {
    return (wMode & (WORKINGMODE_TRIGGER_B0 | WORKINGMODE_TRIGGER_B12)) == WORKINGMODE_TRIGGER_B12;
}

// The address an FPGA register is read at: 0xFF for register 0, the
// register OR 0x80 for 1 .. 111, the register itself from 112 on.
uint8_t FpgaReadAddress(int nRegister);

// The shadows, in the order the device keeps them.
struct FpgaRelateRegValue {
    uint16_t Version, VersionEx, WorkingMode, wTriggerDelay, wStrobeDelay, wMultiFrameNum,
        ColorMode;
    uint16_t wAwbR, wAwbG, wAwbB;
    uint16_t wCcmGain[9];  // wCcmGain00 .. wCcmGain22
    uint16_t wFixedFrameRate, IoMode, IoStatus, wIoFilter, WorkingModeEx, WaterMark, wSpare1;
    uint16_t wExpLineLow, wExpLineHigh;
    uint8_t bLoadLut, bLoadGammaLut;  // a LUT / gamma LUT was downloaded
    uint16_t usXStart, usYStart, usXSize, usYSize;
    uint16_t wReg38, wReg37, wReg50, wReg51, wReg52, wReg48;
    uint16_t wCap[4];  // registers 65-68
    uint16_t wReg53, wFixedFrameRateExt, wSpare2;
};

// Head of the last raw frame read while the watermark was on.
struct WaterMarkInfo {
    static constexpr int kSize = 24;
    uint8_t byHead[kSize] = {};
};

class CFpgaRegisters {
  public:
    CFpgaRegisters(CVendorRequests& vendor, CUsbTransport& transport,
                   const DeviceCapability& capability);
    CFpgaRegisters(const CFpgaRegisters&) = delete;
    CFpgaRegisters& operator=(const CFpgaRegisters&) = delete;

    // Follow-ups of other layers: after register 0 was written (the sensor
    // resynchronises), after register 8 (the frame buffer is emptied), and
    // the LUT downloads of the write-back (which send a table only when one
    // was downloaded). Unset ones do nothing. Set before the device's
    // threads start, never changed after.
    std::function<void()> onWorkingModeWritten;
    std::function<void()> onMultiFramesWritten;
    std::function<int()> reloadLut;
    std::function<int()> reloadGammaLut;

    // FPGA version (major << 8 | minor) and firmware version the read-all and
    // write-back use to pick the model-specific registers.
    void SetVersions(uint16_t wFpgaVersion) { m_wFpgaVersion = wFpgaVersion; }

    int Fpga_RdReg(int nRegister, uint16_t* pValue);
    int Fpga_WrReg(int nRegister, uint16_t wValue);
    // The write every layer uses: nothing is sent when the value equals the
    // register's shadow; *pbChanged (may be null) is set to 1 after a write.
    int Fpga_WrRelateReg(int nRegister, uint16_t wValue, uint8_t* pbChanged = nullptr);
    // The same write of the register's shadow with the bits wSet set and
    // wClear cleared, read and written as one step against the other relate
    // writes (a write of another thread never falls in between).
    // RET_PARAMERROR for a register without a shadow.
    int Fpga_SetRelateRegBits(int nRegister, uint16_t wSet, uint16_t wClear);
    int Fpga_ReadRelateRegValue();
    int Fpga_WriteRelateRegValue();
    void Fpga_DumpRelateRegValue() const;

    // Colour processing in the FPGA (-3 on monochrome cameras).
    int Fpga_AwbDisable();
    int Fpga_AwbSetPresetting(int nPreset);
    int Fpga_AwbSetMatrix(float fR, float fG, float fB);
    int Fpga_AwbGetMatrix(float* pR, float* pG, float* pB);
    int Fpga_CcmDisable();
    int Fpga_CcmSetPresetting(int nPreset);
    int Fpga_CcmSetMatrix(const float fMatrix[9]);
    int Fpga_CcmGetMatrix(float fMatrix[9]);

    // Trigger status (register 128 bits 2, 3) and I/O levels (bit 0 input,
    // bit 1 output).
    int TriggerStatusGet(int* pStatus);
    int Fpga_IoStatusGet(uint8_t* pStatus);

    // Watermark: register 34 and the info record.
    int WaterMarkSetEnable(int bEnable);
    int WaterMarkSetMode(int nMode);
    int WaterMarkGetEnable(uint8_t* pbEnable) const;
    int WaterMarkGetMode(int* pMode) const;
    int WaterMarkGetInfo(uint16_t* pNumber, int* pValue2, int* pValue3) const;
    int WaterMarkGetInfoEx(int* pNumber, int* pValue2, int* pValue3, int* pValue4,
                           uint16_t* pValue5) const;
    // Keeps the first 24 bytes of a raw frame (the raw chain calls it).
    void StoreWaterMarkHead(const uint8_t* pFrame, uint32_t nBytes);

    const FpgaRelateRegValue& Shadows() const { return m_Shadow; }
    FpgaRelateRegValue& Shadows() { return m_Shadow; }
    // The working-mode shadow as the frame-catching threads read it: the
    // relate-register write stores its shadows under the same small lock.
    uint16_t WorkingMode() const {
        std::lock_guard<std::mutex> lock(m_ShadowMutex);
        return m_Shadow.WorkingMode;
    }
    // The shadow of a register, null for a register without one.
    uint16_t* ShadowOf(int nRegister);

  private:
    bool IsColourCamera() const;
    bool ReadAllowed() const;
    int ReadStep(int nRegister, uint16_t& wShadow);
    int WriteBack(int nRegister, uint16_t wValue);
    // The relate write's compare, write and shadow update, with the write
    // lock held; then its follow-ups, without it (they reach the sensor,
    // whose lock comes before the bus lock some writers hold).
    int WriteRelateLocked(int nRegister, uint16_t wValue, bool& bWritten);
    int AfterRelateWrite(int nRegister, uint8_t* pbChanged);
    bool HasModelWindowRegisters() const;
    bool HasModelExtraRegisters() const;
    CLog* Log() const { return m_Transport.Log(); }

    CVendorRequests& m_Vendor;
    CUsbTransport& m_Transport;
    const DeviceCapability& m_Capability;
    uint16_t m_wFpgaVersion = 0;
    FpgaRelateRegValue m_Shadow{};
    // Held by the relate writes from the shadow compare to the shadow
    // update; the shadow lock by their update and the locked shadow reads.
    // Neither is held while another lock is taken.
    std::mutex m_WriteMutex;
    mutable std::mutex m_ShadowMutex;
    WaterMarkInfo m_WaterMark;
};
