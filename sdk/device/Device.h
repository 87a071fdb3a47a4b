// CDevice: one opened camera. The device manager constructs it on the first
// use of a device index and keeps it only when construction reports success;
// it destroys it through the virtual destructor at ZDQ_DeviceClose and
// ZDQ_UnInit, also after a failed construction, so the destructor copes with
// a partly built object.
//
// Locks (all recursive). When they nest, the order is D, then B, then A;
// lock C is taken only after A and B are released; lock E is the one lock
// held while the application is called back. The sensor lock serialises the
// sensor operations of the device, which the application may call from
// several threads.
//   A  BusLock()      frame reads, locked vendor requests, EEPROM pages
//   B  RawPostLock()  dark and flat-field frames and the raw post steps
//   C  BayerLock()    raw to RGB conversion and the paused preview frame
//   D  CaptureLock()  still capture and setting a field of view
//   E  CallbackLock() preview callbacks, their contexts, drawing of frames
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "acquisition/AutoExposure.h"
#include "acquisition/FocusMeasure.h"
#include "device/BusControl.h"
#include "device/FpgaRegisters.h"
#include "device/Gpio.h"
#include "device/Log.h"
#include "device/UsbTransport.h"
#include "device/VendorRequests.h"
#include "platform/CriticalSection.h"
#include "sensors/DeviceCapability.h"
#include "sensors/MT9M001.h"
#include "sensors/Sensor2048Family.h"
#include "sensors/Sensor2592Family.h"
#include "sensors/SensorState.h"

class CDevice : private IAutoExposureCamera {
  public:
    // USB descriptor of the camera's controller while it runs only its boot
    // loader (no firmware loaded).
    static constexpr uint16_t kBootLoaderVendorId = 0x04B4;
    static constexpr uint16_t kBootLoaderProductId = 0x8613;
    // Opens a camera for device index nIndex; bSuccess tells whether it did.
    CDevice(int nIndex, bool& bSuccess);
    CDevice(const CDevice&) = delete;
    CDevice& operator=(const CDevice&) = delete;
    virtual ~CDevice();

    // Starts or stops the device log. Starting creates a new file
    // ZDQLOG_<type>_<serial>_0x<firmware>_<time>.log in pszFolder (null or
    // empty: the default log folder), which becomes the process-wide log
    // folder. A device that logs already keeps its file. 1, or RET_FAIL when
    // the folder or the log cannot be created.
    int LogSet(bool bEnable, const wchar_t* pszFolder);

    // Identity as the camera reports it now (re-read, the stored identity is
    // kept); each output may be null. A boot-loader camera answers 85, 0, 0.
    // 1, RET_DEVICECLOSED or the request's failure.
    int DDeviceGetInformation(int* pType, int* pSerial, uint16_t* pFirmware);
    // As DDeviceGetInformation plus the FPGA version (0 for a boot-loader
    // camera; a failed FPGA read leaves 0 and does not fail the call).
    int DDeviceGetInformationEx(int* pType, int* pSerial, uint16_t* pFirmware,
                                uint16_t* pFpgaVersion);
    // FPGA version, major in the high byte: RET_DEVICECLOSED, RET_PARAMERROR
    // for a null out, else the result of the version register reads.
    int Fpga_GetVersion(uint16_t* pVersion);

    // Sensor operations, dispatched to the sensor unit of the device type;
    // RET_NOTSUPPORT for a type whose unit does not serve the operation.
    // The sensor's initialisation at open: the unit's result.
    int SensorInit();
    // Writes the FPGA registers and then the sensor's registers back from
    // their shadows: RET_RECOVERY_SUCCESS when the sensor's were written,
    // RET_RECOVERY_FAIL when they were not.
    int SensorRestoreRegs();
    // Exposure in sensor lines or ms; the line setter makes the requested
    // time the one it gave, the time setter remembers the request.
    int SensorSetExposureLines(int nLines);
    int SensorSetExposureTime(float fMs);
    int SensorGetExposureLines(int* pLines);
    int SensorGetExposureLinesRange(int* pMin, int* pMax);
    // Conversions with the line time now in the sensor; 0 for a type
    // without them.
    float SensorExposureLinesToTime(int nLines);
    int64_t SensorExposureTimeToLines(float fMs);
    int SensorGetExposureTimeRange(float* pMin, float* pMax);
    int SensorGetExposureTime(float* pMs);
    // The strobe output.
    int SensorFlashEnableSet(bool bOn);
    int SensorFlashEnableGet(bool* pbOn);
    // Strobe polarity and strobe mode, where the sensor offers them; the
    // getters set their out to 0 first. SensorFlashControlGet runs the three
    // getters and gives 1 only when all three did.
    int SensorFlashInvertSet(bool bInvert);
    int SensorFlashInvertGet(bool* pbInvert);
    int SensorFlashSetMode(int nMode);
    int SensorFlashGetMode(int* pMode);
    int SensorFlashControlGet(bool* pbOn, bool* pbInvert, int* pMode);
    // The sensor's own automatic exposure: on/off (the getter sets its out
    // to false first), its bounds in lines, the lines it runs with now and
    // its target grey level.
    int SensorAECSetEnable(bool bEnable);
    int SensorAECGetEnable(bool* pbEnable);
    int SensorAECSetRange(uint16_t wMinLines, uint16_t wMaxLines);
    int SensorAECGetRange(uint16_t* pMinLines, uint16_t* pMaxLines);
    int SensorAECGetCur(uint16_t* pLines);
    int SensorAECSetTarget(int nTarget);
    // Black-level setting of the sensor (RET_PARAMERROR for a null level).
    int SensorGetBlackLevelRange(int* pMin, int* pMax);
    int SensorGetBlackLevel(int* pLevel);
    // Vertical flip: in the sensor when it can flip, else only remembered
    // (the frame is then flipped in software). SensorGetFlip: RET_PARAMERROR
    // for a null out.
    int SensorSetFlip(bool bFlip);
    int SensorGetFlip(bool* pbFlip);
    // Horizontal mirror, the same way (no sensor unit here mirrors itself).
    int SensorSetMirror(bool bMirror);
    int SensorGetMirror(bool* pbMirror);
    // The Bayer mode the raw-to-RGB step uses, from the sensor's own mode
    // and the flip and mirror flags.
    void UpdateBayerModeForFlipMirror();
    int BaseBayerMode() const { return m_nBaseBayerMode; }
    int BayerMode() const { return m_nBayerMode; }
    // Blanking in the sensor, clamped to the unit's range; the getters read
    // what the chip uses. MT9M001 and the 2592 and 2048 families.
    int SensorGetHorizontalBlankRange(int* pMin, int* pMax);
    int SensorSetHorizontalBlank(int nClocks);
    int SensorGetHorizontalBlank(int* pClocks);
    int SensorGetVerticalBlankRange(int* pMin, int* pMax);
    int SensorSetVerticalBlank(int nRows);
    int SensorGetVerticalBlank(int* pRows);
    // Sensor mode of the 2592 family (0, 1, 2); RET_NOTSUPPORT elsewhere and
    // for a mode the register does not encode.
    int SensorModeSet(int nMode);
    int SensorModeGet(int* pMode);
    // Binning of the 2592 and 2048 families (0 or 1); SensorGetBin:
    // RET_PARAMERROR for a null out.
    int SensorGetBinRange(int* pMin, int* pMax);
    int SensorGetBin(int* pbOn);
    int SensorSetBin(bool bOn);
    // Gain steps per colour.
    int SensorGetGainRange(int* pMin, int* pMax);
    int SensorSetRedGain(int nGain);
    int SensorSetGreenGain(int nGain);
    int SensorSetBlueGain(int nGain);
    int SensorGetRedGain(int* pGain);
    int SensorGetGreenGain(int* pGain);
    int SensorGetBlueGain(int* pGain);

    // Automatic exposure and focus measure. The raw post steps call the two
    // hooks, AE first, for every 8-bit raw frame of nWidth x nHeight pixels
    // with the raw post lock held; the preview's drawing darkens the shown
    // regions in the frame it draws (nBitCount 8, 24 or 32).
    CAutoExposure& AutoExposure() { return m_AutoExposure; }
    CFocusMeasure& FocusMeasure() { return m_FocusMeasure; }
    void RawData8_Do_3A_AE(const uint8_t* pData, int nWidth, int nHeight);
    void RawData8_Do_3A_AF(const uint8_t* pData, int nWidth, int nHeight);
    void DarkenShownRegions(uint8_t* pFrame, int nWidth, int nHeight, int nBitCount);
    // The raw frame holds the picture's rows bottom-up: raw output, or colour
    // output whose effective Bayer mode is one of 4-7 or 12-15.
    bool RawRowsBottomUp() const;

    // The device log, null while it is off.
    CLog* Log() const { return m_pLog; }
    int Index() const { return m_nIndex; }
    int DeviceType() const { return m_nDeviceType; }
    int Serial() const { return m_nSerial; }
    uint16_t FirmwareVersion() const { return m_wFirmwareVersion; }
    uint16_t FpgaVersion() const { return m_wFpgaVersion; }
    bool IsBootLoader() const { return m_bBootLoader; }
    // How frames leave the device: raw as they come, or converted to colour.
    enum OutputMode { kOutputRaw = 0, kOutputColour = 1 };
    int OutputMode() const { return m_nOutputMode; }
    float ExposureTime() const { return m_Sensor.fExposureTime; }
    const SensorState& Sensor() const { return m_Sensor; }

    // The layers below the device: driver link, vendor requests, FPGA
    // registers, frame reads and recovery.
    CUsbTransport& Transport() { return m_Transport; }
    CVendorRequests& Vendor() { return m_Vendor; }
    CFpgaRegisters& Fpga() { return m_Fpga; }
    CBusControl& Bus() { return m_Bus; }
    CGpio& Gpio() { return m_Gpio; }
    DeviceCapability& Capability() { return m_Capability; }

    plat::CriticalSection& BusLock() { return m_Transport.BusLock(); }
    plat::CriticalSection& RawPostLock() { return m_RawPostLock; }
    plat::CriticalSection& BayerLock() { return m_BayerLock; }
    plat::CriticalSection& CaptureLock() { return m_CaptureLock; }
    plat::CriticalSection& CallbackLock() { return m_CallbackLock; }
    plat::CriticalSection& SensorLock() { return m_SensorLock; }

  private:
    // The camera as the automatic exposure reaches it.
    int AEGetExposureLines() override;
    void AESetExposureLines(int nLines) override;
    int AEGetExposureMs() override;
    int AECSetEnable(bool bEnable) override;
    int AECGetEnable(bool* pbEnable) override;
    int AECSetRange(uint16_t wMinLines, uint16_t wMaxLines) override;
    int AECGetRange(uint16_t* pMinLines, uint16_t* pMaxLines) override;
    int AECSetTarget(int nTarget) override;
    int AEGetExposureTimeRange(float* pMinMs, float* pMaxMs) override;
    float AEExposureLinesToTime(int nLines) override;
    int64_t AEExposureTimeToLines(float fMs) override;
    CLog* AELog() override;
    // AE and focus measure of the opened camera, at the end of the opening.
    void InitAutoExposureAndFocus();

    // The opening steps after the claim; false stops the opening.
    bool OpenCamera();
    void ApplyCapabilities();
    void LogIdentity() const;
    void LogCapabilities() const;
    bool IsMono() const;
    // A colour gain of the MT9M001: its register or, mono, the global gain.
    int MT9M001SetColourGain(int nGain, std::initializer_list<uint16_t> registers);
    int MT9M001GetColourGain(int* pGain, uint16_t wRegister) const;
    // The unit of a 2592 or 2048 family type, null for other types.
    CRegisterFamilyUnit* FamilyUnit();
    // A colour gain of a family unit: GlobalGain on a monochrome 2592
    // camera, else the colour's registers.
    int FamilySetColourGain(CRegisterFamilyUnit& unit, int nGain,
                            const std::vector<uint16_t>& registers);
    int FamilyGetColourGain(CRegisterFamilyUnit& unit, int* pGain, uint16_t wRegister) const;

    int m_nIndex;
    CLog* m_pLog = nullptr;  // before the layers, which read it
    // Identity read from the camera when it opens.
    bool m_bBootLoader = false;
    // The capability record holds the camera's presets (the ini sections are
    // written back at close only then).
    bool m_bCapabilitiesSet = false;
    int m_nDeviceType = 0;
    int m_nSerial = 0;
    uint16_t m_wFirmwareVersion = 0;
    uint16_t m_wFpgaVersion = 0;
    SensorState m_Sensor;
    bool m_bFlip = false;
    bool m_bMirror = false;
    int m_nBaseBayerMode = 0;
    int m_nBayerMode = 0;
    int m_nOutputMode = kOutputRaw;
    float m_fPreviousExposureTime = SensorState::kDefaultExposureTimeMs;
    DeviceCapability m_Capability;
    CUsbTransport m_Transport{m_pLog};
    CVendorRequests m_Vendor{m_Transport, m_Capability};
    CFpgaRegisters m_Fpga{m_Vendor, m_Transport, m_Capability};
    CBusControl m_Bus{m_Transport, m_Vendor, m_Fpga, m_Capability};
    CGpio m_Gpio{m_Fpga, m_Vendor, m_Capability};
    // The sensor unit of the device type.
    CMT9M001 m_MT9M001{m_Vendor, m_Capability, m_pLog, m_Sensor};
    CSensor2048Family m_Sensor2048{m_Vendor, m_Capability, m_pLog, m_Sensor};
    CSensor2592Family m_Sensor2592{m_Vendor, m_Capability, m_pLog, m_Sensor};
    plat::CriticalSection m_RawPostLock;   // B
    plat::CriticalSection m_BayerLock;     // C
    plat::CriticalSection m_CaptureLock;   // D
    plat::CriticalSection m_CallbackLock;  // E
    plat::CriticalSection m_SensorLock;
    // Automatic exposure and focus measure.
    CAutoExposure m_AutoExposure{*this};
    CFocusMeasure m_FocusMeasure;
};
