// CDevice: one opened camera. The device manager constructs it on the first
// use of a device index and keeps it only when construction reports success;
// it destroys it through the virtual destructor at ZDQ_DeviceClose and
// ZDQ_UnInit, also after a failed construction, so the destructor copes with
// a partly built object. Its members are defined in the files of device/,
// one group a file; ../README.md maps the groups to the files.
//
// Locks. When they nest, they are taken in this order, and a lock further
// up is never taken while one further down is held (no lock of the device
// is taken while the plain mutexes at the end are held; the others are
// recursive):
//   control      ControlLock(): serialises the calls that start, stop, pause
//                or resume the preview or stop it around their work
//                (captures, dark and flat-field frame making, both window
//                sets, the 16-bit switch, trigger and frame-stream writes,
//                the ring size); the preview's own threads never take it
//                (Controlled). The stored windows are written only with it
//                held.
//   E callback   CallbackLock(): the preview callbacks and their contexts,
//                the recording object.
//   C Bayer      BayerLock(): raw to RGB conversion, the bitmap record (frame
//                format), the preview's RGB and shown buffers and the paused
//                frame.
//   B raw post   RawPostLock(): a frame read with its raw post chain, the
//                stored windows as the reads see them, the dark and
//                flat-field frames and switches. C is never taken while B is
//                held.
//   sensor       SensorLock(): the sensor operations of the device, which the
//                application may call from several threads.
//   LUT          m_LutLock: the LUT copies and their downloads.
//   A bus        BusLock(): frame reads, locked vendor requests, EEPROM pages.
//   records      m_FovMutex: the stored windows as the getters copy them;
//                their writers take it inside B.
// Inside the FPGA register layer its write and shadow mutexes come last.
// Held while the application is called back: E and C around the preview
// callbacks (the drawing thread); B around the AE and focus callbacks (the
// raw post chain of the thread that catches the frame, with the control lock
// as well when that is a capture).
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>

#include "ZDQApi.h"
#include "acquisition/AutoExposure.h"
#include "acquisition/BadPixelCorrection.h"
#include "acquisition/CalibrationMap.h"
#include "acquisition/ColourAdjustments.h"
#include "acquisition/ColourCamera.h"
#include "acquisition/ColourCorrectTables.h"
#include "acquisition/ColourMatrix.h"
#include "acquisition/FlatField.h"
#include "acquisition/FocusMeasure.h"
#include "acquisition/Laser3DState.h"
#include "acquisition/ParamBlock.h"
#include "acquisition/PreviewState.h"
#include "acquisition/ProcessTables.h"
#include "acquisition/WhiteBalance.h"
#include "acquisition/recording/AviRecording.h"
#include "capability/DeviceCapability.h"
#include "common/Log.h"
#include "device/BusControl.h"
#include "device/CameraMemory.h"
#include "device/FpgaRegisters.h"
#include "device/Gpio.h"
#include "platform/CriticalSection.h"
#include "sensors/FieldOfView.h"
#include "sensors/SensorHost.h"
#include "sensors/SensorState.h"
#include "sensors/SensorUnit.h"
#include "usb/UsbTransport.h"
#include "usb/VendorRequests.h"
#include "window/PlatWindow.h"

class CDevice : private IAutoExposureCamera, private ISensorHost, private IColourCamera {
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
    int SensorAECGetTarget(int* pTarget);
    // The window the sensor's own AE measures (x, y, width, height).
    int SensorAECSetWindow(int x, int y, int nWidth, int nHeight);
    int SensorAECGetWindow(int* x, int* y, int* pWidth, int* pHeight);
    // The sensor's own automatic gain: on/off, its upper gain step and the
    // step it runs with now.
    int SensorAGCSetEnable(bool bEnable);
    int SensorAGCGetEnable(bool* pbEnable);
    int SensorAGCSetMax(uint16_t wMaxStep);
    int SensorAGCGetMax(uint16_t* pMaxStep);
    int SensorAGCGetCur(uint16_t* pStep);
    // Companding of the sensor's ADC and the gains of a CCD's front end;
    // RET_NOTSUPPORT on sensors without them.
    int SensorSetCompanding(bool bOn);
    int SensorGetCompanding(int* pbOn);
    int SensorGetFrontEndRange(CSensorUnit::FrontEnd which, int* pMin, int* pMax);
    int SensorSetFrontEnd(CSensorUnit::FrontEnd which, int nValue);
    int SensorGetFrontEnd(CSensorUnit::FrontEnd which, int* pValue);
    // Black-level setting of the sensor (RET_PARAMERROR for a null level).
    int SensorGetBlackLevelRange(int* pMin, int* pMax);
    int SensorGetBlackLevel(int* pLevel);
    int SensorSetBlackLevel(int nLevel);
    // MT9M001 black-level calibration thresholds: automatic, lower (0-63),
    // upper (0-127); RET_NOTSUPPORT for other sensors and while the
    // calibration is forced.
    int BlackLevelThresholdRange(int nParam, int* pMin, int* pMax);
    int BlackLevelThresholdGet(int nParam, int* pValue);
    int BlackLevelThresholdSet(int nParam, int nValue);
    // Vertical flip: in the sensor when it can flip, else only remembered
    // (the frame is then flipped in software). SensorGetFlip: RET_PARAMERROR
    // for a null out.
    int SensorSetFlip(bool bFlip);
    int SensorGetFlip(bool* pbFlip);
    // Horizontal mirror, the same way (no sensor unit here mirrors itself).
    int SensorSetMirror(bool bMirror);
    int SensorGetMirror(bool* pbMirror);
    // The Bayer mode the raw-to-RGB step uses, from the chosen mode and the
    // flip and mirror flags.
    void UpdateBayerModeForFlipMirror();
    bool FlipOn() const { return m_bFlip; }
    bool MirrorOn() const { return m_bMirror; }
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

    // Field of view of the sensor (FieldOfView.h). SensorGetFovLimits fills
    // a record with the window now in the chip; SensorCheckFov aligns and
    // clamps a window in place by the unit's rule (pMultiFrames, may be null,
    // is cut so one transfer stays within the driver's limit);
    // SensorSetFov writes it; SensorFovChanged tells whether going from one
    // record to another changes the frame the camera sends.
    int SensorGetFovLimits(FieldOfView& fov);
    int SensorCheckFov(int& nColStart, int& nRowStart, int& nColSize, int& nRowSize, int nAmCol,
                       int nAmRow, uint16_t* pMultiFrames);
    int SensorSetFov(int nColStart, int nRowStart, int nColSize, int nRowSize, int nAmCol,
                     int nAmRow, uint8_t* pbChanged);
    bool SensorFovChanged(const FieldOfView& a, const FieldOfView& b) const;
    // Follow-up of a write of the FPGA's working-mode register for sensors
    // that keep state tied to it: 1 or the first failure.
    int SensorResyncAfterFpgaCtrl();

    // Fields of view (capture record 0, preview record 1; one of them is
    // programmed into the camera, the active one).
    // 1 when the window is acceptable as given, RET_FAIL when it would be
    // adjusted, else the sensor's refusal. Changes nothing.
    int CheckFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize, int nAmCol,
                         int nAmRow);
    // Adjust a window by the sensor's rule and store it; the camera gets it
    // only while its record is the active one.
    int CaptureSetFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize, int nAmCol,
                              int nAmRow, uint16_t usMultiFrameNum);
    int PreviewSetFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize, int nAmCol,
                              int nAmRow, uint16_t usMultiFrameNum);
    // The same with the frame count the record has when the set runs.
    int CaptureSetFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize, int nAmCol,
                              int nAmRow);
    int PreviewSetFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize, int nAmCol,
                              int nAmRow);
    // The members of a record into the non-null outputs; 1.
    int GetFieldOfView(int nWhich, int* pColStart, int* pRowStart, int* pColSize, int* pRowSize,
                       int* pAmCol, int* pAmRow, uint16_t* pMultiFrameNum) const;
    // Programs a record into the camera and makes it the active one; a
    // changed sensor window costs one dropped frame.
    int SelectFieldOfView(int nWhich);
    // After a capture: the preview record is active again, and a preview
    // that ran before the capture (nPreviewStateBefore 1) runs on.
    void ResumeAfterCapture(int nPreviewStateBefore);
    // Catches and discards one frame of a record (not in triggered modes).
    int DropOneFrame(int nWhich);
    // Writes a record with its derived sizes (the preview record also sizes
    // the output format) and logs it.
    void StoreFieldOfView(int nWhich, int nColStart, int nRowStart, int nColSize, int nRowSize,
                          int nAmCol, int nAmRow, uint16_t usMultiFrameNum);
    // A copy of a record as it is now, for any thread.
    FieldOfView Fov(int nWhich) const;
    int ActiveFov() const { return m_nActiveFov; }
    // A window and frame count as the sensor and the FPGA can take them:
    // adjusted in place by the sensor's rule; RET_NOTSUPPORT for a frame
    // count the FPGA cannot send, else the sensor's result.
    int AdjustFieldOfView(int& nColStart, int& nRowStart, int& nColSize, int& nRowSize, int nAmCol,
                          int nAmRow, uint16_t& usMultiFrameNum);
    // 16-bit pixel data: the FPGA can send it and its working mode asks for it.
    bool Data16BitsOn() const;

    // Output format of the frames handed out: raw bytes or colour.
    // ApplyOutputFormat sets the bit count and image size of the bitmap
    // record from the output mode and the effective Bayer mode.
    void CreateOutputFormat();
    int ApplyOutputFormat();
    int GetOutputBitCount() const;
    const PlatBitmapInfo* BitmapInfo() const { return m_pBitmapInfo.get(); }
    int SetOutputMode(int nMode);
    // Bayer pattern (0-23) and demosaic algorithm (0-5) of the colour path.
    int BayerSetMode(int nMode);
    int FilterSetMode(int nMode);
    int BayerDefaultMode() const { return m_nBayerDefaultMode; }
    int BayerMode() const { return m_nBayerMode; }
    int BayerModeEffective() const { return m_nBayerModeEffective; }
    int FilterMode() const { return m_nFilterMode; }

    // The raw post chain of an 8-bit frame (rows of nWidth bytes) and of a
    // 16-bit frame (packed to 8 bits in place when bPack), run while frames
    // are caught.
    int RawPostProcess(uint8_t* pFrame, int nWidth, int nHeight, uint32_t nBytes);
    int RawPostProcess16(uint8_t* pFrame, int nWidth, int nHeight, bool bPack);
    // 16-bit samples to one byte each, in place: through the LUT while the
    // camera's LUT is on, else by the ADC resolution and sensitivity mode.
    void Pack16To8(uint8_t* pFrame, uint32_t nPixels) const;
    // A raw frame to the output format: under the Bayer lock, raw frames are
    // copied and colour ones demosaiced and post-processed.
    int RawToRgb(const uint8_t* pRaw, int nWidth, int nHeight, int nBitCount, uint8_t* pOut,
                 bool bPreview8);
    int RawToRgb8(const uint8_t* pRaw, int nWidth, int nHeight, int nBitCount, uint8_t* pOut);
    // The colour post chain of a demosaiced frame.
    int RgbPostProcess(uint8_t* pRgb, int nWidth, int nHeight, int nBitCount);
    // Contrast, brightness and gamma of the raw chain.
    CProcessTables& ProcessTables() { return m_ProcessTables; }

    // Camera parameters by identifier (ZDQ_PARAM): RET_NOTSUPPORT for an
    // identifier outside 0-32 or one the camera lacks.
    int GetParamRange(int nParam, int* pMin, int* pMax);
    int GetParam(int nParam, int* pValue);
    int SetParam(int nParam, int nValue);
    // 16-bit pixel data on or off (the preview restarts around it).
    int SetData16Bits(bool bOn);
    int GetData16Bits(bool* pbOn);
    // Capability query by function number (0-57).
    int QueryFunction(int nFunction, int* pValue);
    // Global-reset shutter and pre-exposure of the global-reset sensors.
    int GlobalResetShutterSet(bool bOn);
    int GlobalResetShutterGet(bool* pbOn);
    int SensorPreExposureRangeGet(int* pMin, int* pMax);
    int SensorPreExposureLinesSet(int nLines);
    int SensorPreExposureLinesGet(int* pLines);
    int SensorPreExposureTimeSet(float fMs);
    int SensorPreExposureTimeGet(float* pMs);
    // Trigger mode (0 free run .. 4) and trigger method (edge or level) in
    // the working-mode register, written with the frame stream stopped.
    int TriggerModeSet(int nMode);
    int TriggerModeGet(int* pMode) const;
    int TriggerMethodSet(int nMethod);
    // Trigger and strobe delays (FPGA registers 3 and 4): RET_DEVICECLOSED on
    // a closed driver handle, else the register write.
    int TriggerDelaySet(int nDelay);
    int StrobeDelaySet(int nDelay);
    // Fixed frame rate in frames per second, encoded for the FPGA's step
    // kind (50 us, 1 us, or the 132 MHz count over registers 28 and 69).
    int SetFixedFrameRate(float fFps);
    int GetFixedFrameRate(float* pFps);
    void GetFixedFrameRateRange(float* pMin, float* pMax) const;
    // Trigger signal period in units (register 53: whole units, 1/256 units).
    int TriggerSignalPeriodSet(float fPeriod);
    int TriggerSignalPeriodGet(float* pPeriod) const;
    // Line-scan start controls (registers 65-68), written with the frame
    // stream stopped; RET_NOTSUPPORT without the FPGA's capture registers.
    int StartEndModeSet(int nMode);
    int StartEndModeGet(int* pMode) const;
    int CaptureStartDelaySet(int nValue);
    int CaptureStartFilterSet(int nValue);
    int CaptureMultiLineSet(int nValue);
    // Register 67, 66 or 68 (FPGAREG_CAP_XXX + 2, + 1, + 3) from its shadow.
    int CaptureStartRegisterGet(int nRegister, uint16_t* pValue) const;
    int CaptureSoftwareStart();
    // The camera's LUT (2^ADC-resolution bytes) and gamma LUT (as many 16-bit
    // entries), downloaded in chunks; LutWrite sends one chunk of at most 64
    // bytes at a byte offset. The switches are bits of FPGA registers 0 and 33.
    int LutDataDownload(const uint8_t* pData, int nLength);
    int LutWrite(int nOffset, const uint8_t* pData, int nLength);
    int GammaLutDataDownload(const uint16_t* pEntries, int nEntries);
    int LutFileDownload(const wchar_t* pszFile);
    // The register write-back's follow-up: the LUT (or gamma LUT) sent again
    // when one was downloaded, else 1.
    int ReloadLookUpTable(bool bGamma);
    int GammaLutFileDownload(const wchar_t* pszFile);
    int LutSetEnable(bool bOn);
    int LutGetEnable(bool* pbOn) const;
    int GammaLutSetEnable(bool bOn);
    int GammaLutGetEnable(bool* pbOn) const;
    // Which 8 bits of a wider sample are sent (register 0 bits 5-7).
    int SensitivitySetMode(int nMode);
    int SensitivityGetMode(int* pMode) const;
    // Bad-pixel correction: in the FPGA where it has it, else in software
    // (step 3 of the raw chain) with the near and far thresholds.
    int BadPixelCorrectionSet(bool bOn, int nMode);
    int BadPixelCorrectionGet(bool* pbOn, int* pMode) const;
    int BadPixelCorrectionSetThreshold(int nNear, int nFar);
    int BadPixelCorrectionGetThreshold(uint8_t* pNear, uint8_t* pFar) const;
    // Flat-field correction of the frames of one window: the record, the dark
    // and flat frames made from captures of it, the preview and capture
    // switches, and the file of record, dark frame and gain table.
    int SetFlatFieldFieldOfView(int nColStart, int nRowStart, int nColSize, int nRowSize,
                                int nAmCol, int nAmRow, uint16_t usMultiFrameNum);
    const FieldOfView& FlatFieldFov() const { return m_FlatFieldFov; }
    int MakeDarkFrame(int nFrames);
    int MakeFlatFieldFrame(int nFrames);
    int SetFlatFieldCorrection(bool bPreview, bool bOn);
    bool FlatFieldCorrection(bool bPreview);
    int SaveFlatFieldCorrection(const wchar_t* pszFile);
    int LoadFlatFieldCorrection(const wchar_t* pszFile);
    // Red, green and blue shifts of the colour-correction tables.
    int ColorShiftSet(int nChannel, int nShift);
    int ColorShiftGet(int nChannel) const { return m_nColorShift[nChannel]; }
    int ProcessSaturationSet(int nValue);
    int ProcessSaturation() const { return m_ProcessSaturation.Value(); }

    // The colour path of colour cameras (ColourDevice.cpp): white balance,
    // colour-correct tables and matrix, hue-saturation and the calibration
    // map. The raw chain runs the statistics and the raw remap; the colour
    // post chain the rest.
    CWhiteBalance& WhiteBalance() { return m_WhiteBalance; }
    CColourCorrectTables& ColourCorrectTables() { return m_ColourCorrectTables; }
    CColourMatrix& ColourMatrix() { return m_ColourMatrix; }
    CHueSaturation& HueSaturation() { return m_HueSaturation; }
    bool IsMonochrome() const { return IsMono(); }
    // The model group of the colour presets.
    ColourGroup ColourPresetGroup() const;
    // Hue-saturation on or off, the cube allocated under the Bayer lock.
    int HueSaturationSetEnable(bool bOn);
    // The calibration map: replaced or released from a file (null: released)
    // under the Bayer and raw post locks; its mode and flags.
    int LoadCalibrationMapFile(const wchar_t* pszFile);
    CCalibrationMap& CalibrationMap() { return m_CalibrationMap; }
    // The calibration record in the camera's memory (CalibrationRecord.cpp):
    // the 56-byte camera model written with the capture size; read back into
    // a buffer of 56 bytes (the stored count of 4-byte entries; the header's
    // size and count through the optional outs). RET_NOTSUPPORT for a memory
    // kind without the record.
    int CalibrationProgram(const void* pData);
    int CalibrationReadout(uint8_t* pData, uint32_t* pWidth = nullptr, uint32_t* pHeight = nullptr,
                           uint32_t* pCount = nullptr);

    // The parameter block in the camera's memory (ParamStorage.cpp): every
    // feature's settings gathered and programmed, erased, or read back and
    // applied. LoadParamFromCamera: RET_FATALERROR for a block that is not
    // valid; the setters' results do not count (each failure is logged).
    // RET_NOTSUPPORT on memory kind 0.
    int ParamProgram();
    int ParamErase();
    int LoadParamFromCamera();
    // The LUT and gamma LUT kept in the camera's memory (StoredTables.cpp):
    // written there, then loaded into the camera; from a table of
    // 2^(ADC bits) entries or a LUT file of that many.
    int LutDataProgram(const uint8_t* pData, int nLength);
    int LutFileProgram(const wchar_t* pszFile);
    int GammaLutDataProgram(const uint16_t* pEntries, int nEntries);
    int GammaLutFileProgram(const wchar_t* pszFile);
    // Line sensors (DR2K, DR4K; LineSensorDevice.cpp): per-segment gain and
    // black level, RET_NOTSUPPORT for another sensor or a segment beyond
    // the count; the black-level calibration of one segment or of all (then
    // the whole register set is written back and no calibration is pending);
    // the split-segment switch of the raw chain.
    int AwaibaSegmentCount() const;
    int AwaibaSetGain(int nSegment, int nGain);
    int AwaibaGetGain(int nSegment, int* pGain);
    int AwaibaSetBlackLevel(int nSegment, uint16_t wLevel);
    int AwaibaGetBlackLevel(int nSegment, int* pLevel);
    int AwaibaAutoBlackLevelSeg(int nSegment);
    int AwaibaAutoBlackLevelAllSeg();
    void AwaibaSetSplitSegment(uint8_t bySplit) { m_bySplitSegment = bySplit; }
    uint8_t AwaibaSplitSegment() const { return m_bySplitSegment; }

    // The 3D laser-profile family (Laser3DDevice.cpp, Laser3DAcquisition.cpp).
    // Init3D puts the camera into 3D mode from the parameter block in its
    // memory; Release3D leaves it (stopping an acquisition first).
    int Init3D();
    void Release3D();
    bool Is3D() const { return m_3D.bIs3D; }
    bool Acquiring3D() const { return m_3D.bAcquiring; }
    Laser3DState& State3D() { return m_3D; }
    // The 3D area of the block (width, height) and the ROI within it.
    int Get3DRoiMax(int* pWidth, int* pHeight) const;
    int Set3DRoi(int nX, int nY, int nWidth, int nHeight);
    int Get3DRoi(int* pX, int* pY, int* pWidth, int* pHeight) const;
    // Laser off (0), on (1) or driven by the strobe output (2).
    int LaserModeSet(int nMode);
    int Get3DMeasurementRange(float* pXFrom, float* pXTo, float* pZFrom, float* pZTo);
    // The two threads: 1 also when already running (or stopped); the start
    // gives RET_3DINITFAIL without profiles or memory, RET_ILLEGALOPERATION
    // with 16-bit data.
    int StartAcquisition3D();
    int StopAcquisition3D();

    // Still capture into the caller's buffer (raw bytes, or the output
    // format for the Rgb forms): a running preview pauses around it.
    // bEmptyFirst empties the camera's frame buffer just before the catch.
    enum class CaptureKind { Raw, Rgb };
    int Capture(CaptureKind kind, uint8_t* pBuffer, bool bEmptyFirst);
    int StreamCapture(CaptureKind kind, uint8_t* pBuffer, int* pBytesRead);
    // One frame of a record (the one pBuffer was sized for: it holds
    // fov.ulTotalBytes): read and raw post chain.
    int CatchRawData(uint8_t* pBuffer, const FieldOfView& fov, bool bPreview8);
    // The bus read of one frame with its failure and recovery rules.
    int CatchOneFrame(uint8_t* pBuffer, uint32_t nBytes);
    int EmptyFrameBuffer();
    // Frame-read time-out (ms) and whether a failed frame runs the recovery.
    void SetCaptureTimeOut(uint32_t nMs) { m_Transport.SetCaptureTimeOut(nMs); }
    uint32_t CaptureTimeOut() const { return m_Transport.CaptureTimeOut(); }
    void SetRecover(bool bRecover) { m_Transport.SetRecoverEnabled(bRecover); }
    bool Recover() const { return m_Transport.RecoverEnabled(); }
    // Stream mode: the camera sends frames continuously after a start.
    bool SupportsStreamMode() const;
    int StreamStart();
    int StreamStop();
    bool StreamStarted() const { return m_Transport.StreamStarted(); }

    // Starts or stops the preview with the parallel or the serial engine; a
    // stop with bRestoreCapture makes the capture record active again.
    int StartPreview(bool bParallel);
    int StopPreview(bool bParallel, bool bRestoreCapture);
    int StartPreviewSerial();
    int StopPreviewSerial(bool bRestoreCapture);
    int StartPreviewParallel();
    int StopPreviewParallel(bool bRestoreCapture);
    // True on one of the threads of the running preview (its callbacks).
    bool OnPreviewThread() const;
    // Preview state: 0 stopped, 1 running, 2 paused.
    int PreviewStatus() const { return m_Preview.nStatus; }
    bool PreviewParallel() const { return m_Preview.bParallel; }
    // Callbacks of the preview's drawing thread; set while the preview is
    // stopped they take effect at its next start.
    int SetPreviewCallback(PreviewCallback pfCallback, void* pContext);
    int SetPreviewCallbackEx(PreviewCallbackEx pfCallback, void* pContext);
    // The window and the rectangle frames are drawn into.
    void SetPreviewPlacement(PlatWindow hWnd, int x, int y, int nWidth, int nHeight);
    PreviewState::Placement PreviewPlacement() const;
    // Ring size of the parallel preview (1 .. 4096; 0 or less: 5).
    int SetBufferCount(int nCount);
    int BufferCount() const { return m_Preview.nBufferCount; }
    // The frame shown while paused, (bit count / 8) x pixels bytes.
    int PreviewGetPausedData(uint8_t* pData);
    // Frame counts and rates of the running preview.
    const PreviewState& Preview() const { return m_Preview; }
    // Asks the catching thread of a running preview to stop catching and
    // waits for it (capture time-out); ResumePreview lets it run on.
    int PausePreview();
    int ResumePreview();

    // AVI recording (Recording.cpp): of the shown frames of the running
    // preview, or of frames the caller hands over in a format of its own.
    // A start while recording, and a preview recording without a running
    // preview, give RET_ILLEGALOPERATION. Every preview stop ends a
    // recording.
    int RecordStartPreview(float fRate, const wchar_t* pszFile, CAviRecording::Options options);
    int RecordStartExplicit(float fRate, int nWidth, int nHeight, int nBitCount,
                            const wchar_t* pszFile, bool bDialog);
    int RecordStop();
    // RET_NOTSUPPORT without a recording, RET_FAIL (nothing changed) for a
    // preview recording; see CAviRecording::AddFrame.
    int RecordAddOneFrame(const void* pData, int nPosition, int nWidth, int nHeight, int nBitCount);
    // A recording runs, or one that ended by itself is still closing its
    // file.
    bool Recording() const;
    // Shown frames the running or the last preview recording left out
    // because its writer was behind.
    uint32_t RecordLeftOut() const { return m_nRecordLeftOut; }

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
    CCameraMemory& Memory() { return m_Memory; }
    DeviceCapability& Capability() { return m_Capability; }

    plat::CriticalSection& BusLock() { return m_Transport.BusLock(); }
    plat::CriticalSection& RawPostLock() { return m_RawPostLock; }
    plat::CriticalSection& BayerLock() { return m_BayerLock; }
    plat::CriticalSection& CallbackLock() { return m_CallbackLock; }
    plat::CriticalSection& SensorLock() { return m_SensorLock; }
    plat::CriticalSection& ControlLock() { return m_ControlLock; }

  private:
    // Runs a call the control lock serialises: RET_STREAMNOTSTOP, without
    // running it, on the device's own preview threads (a call holding the
    // lock may be waiting for that very thread to end or to pause).
    template <typename Operation>
    int Controlled(Operation&& operation) {
        if (OnPreviewThread()) {
            return RET_STREAMNOTSTOP;
        }
        plat::CriticalSectionLock control(m_ControlLock);
        return operation();
    }
    // Starts the preview again after a stop around a change; a preview that
    // was paused (nStatusBefore) is paused again once a frame of the new
    // stream is shown.
    int RestartPreview(bool bParallel, int nStatusBefore);
    // Undoes what a start did before its thread failed to start.
    void AbandonPreviewStart(int nActiveFovBefore);
    // Preview engines: the threads' bodies, the drawing of one frame and the
    // steps shared by the starts and stops.
    void SerialPreviewThread();
    // The bodies of the stops, the parallel start and the pause, with the
    // control lock held.
    int StopSerialEngine(bool bRestoreCapture);
    int StartParallelEngine();
    int StopParallelEngine(bool bRestoreCapture);
    int PauseEngine();
    void ParallelCaptureThread();
    void ParallelShowThread();
    // Makes a caught preview frame the shown one: converted into the RGB
    // buffer, or, raw, taken whole in exchange for the buffer shown before.
    void TakeCaughtFrame(std::vector<uint8_t>& frame);
    void DrawFrame();
    void BeginPreviewRun();
    void EndPreviewRun(bool bRestoreCapture);
    void SaveCallbacksForStop();
    void StartFrameRateTimer();
    void FrameRateTick();
    void JoinPreviewThread(plat::Thread& thread, uint32_t nTimeOutMs,
                           const wchar_t* pszTimeOutLine);
    // The recording's side of drawing: hands it over, and appends a shown
    // frame to a preview recording (lock E held).
    int RecordInstall(std::unique_ptr<CAviRecording> pRecording);
    void RecordShownFrame(const uint8_t* pFrame, int nWidth, int nHeight, int nBitCount);

    // Which driver read catches a frame: the plain read, the stream read, or
    // the stream read that reports the bytes received.
    enum class FrameRead { Plain, Stream, StreamCounted };
    // Runs a catch with the capture record active: under the control lock,
    // pausing a running preview around it.
    template <typename Catch>
    int CaptureInCaptureWindow(Catch&& catchFrame);
    int CatchForCapture(CaptureKind kind, uint8_t* pBuffer, FrameRead read, int* pBytesRead);
    int CatchRawData(uint8_t* pBuffer, const FieldOfView& fov, bool bPreview8, FrameRead read,
                     int* pBytesRead);
    int CatchFrame(uint8_t* pBuffer, uint32_t nBytes, FrameRead read, int* pBytesRead);
    // The software corrections of an 8-bit frame: bad pixels (step 3) and
    // the flat field (step 6), under the raw-post lock.
    void CorrectBadPixelsInSoftware(uint8_t* pFrame, int nWidth, int nHeight);
    void ApplyFlatField(uint8_t* pFrame, uint32_t nBytes);
    bool AnyFlatFieldCorrectionOn();
    // Averages nFrames raw captures of the flat-field window into one frame.
    int CaptureFlatFieldAverage(int nFrames, std::vector<uint8_t>& average);
    // Writes an FPGA register that changes the frame stream: the preview and
    // the stream stop around it (bSkipWhenEqual: nothing when unchanged).
    int ModeChangeWrite(int nRegister, uint16_t wValue, bool bSkipWhenEqual);
    // General-purpose pins the camera offers.
    int GeneralPurposePinCount() const;

    // The camera as the automatic exposure reaches it.
    int AEGetExposureLines() override;
    void AESetExposureLines(int nLines) override;
    int AEGetExposureMs() override;
    int AECSetEnable(bool bEnable) override;
    int AECGetEnable(bool* pbEnable) override;
    int AECSetRange(uint16_t wMinLines, uint16_t wMaxLines) override;
    int AECGetRange(uint16_t* pMinLines, uint16_t* pMaxLines) override;
    int AECSetTarget(int nTarget) override;
    int AECGetTarget(int* pTarget) override;
    int AECSetWindow(const FrameRegion& window) override;
    int AECGetWindow(FrameRegion* pWindow) override;
    int AEGetExposureTimeRange(float* pMinMs, float* pMaxMs) override;
    float AEExposureLinesToTime(int nLines) override;
    int64_t AEExposureTimeToLines(float fMs) override;
    CLog* AELog() override;
    // The device as its sensor unit reaches it (SensorHost.cpp).
    int FpgaWrite(int nRegister, uint16_t wValue, uint8_t* pbChanged) override;
    uint16_t FpgaShadow(int nRegister) const override;
    int EmptyCameraFrameBuffer() override { return EmptyFrameBuffer(); }
    uint16_t FirmwareVersionWord() const override { return m_wFirmwareVersion; }
    uint16_t FpgaVersionWord() const override { return m_wFpgaVersion; }
    void SettleSensor(uint32_t nMs) override;
    // AE and focus measure of the opened camera, at the end of the opening.
    void InitAutoExposureAndFocus();
    // The colour path of the opened camera, after AE and focus, and the
    // calibration map from the camera's record.
    void InitColour();
    void InitCalibrationMap();
    // The opening's reads of the camera's memory: the stored LUT and gamma
    // LUT (else the identity tables), and the stored working mode that
    // switches 16-bit data, sensitivity and triggering off.
    void LoadLookUpTablesFromCamera();
    void ApplyStoredWorkingMode();
    // The parameter block's side of the device: every setting gathered, and
    // a valid block's settings applied up to the fields its version has.
    StoredParams GatherParams();
    void ApplyParams(const StoredParams& params);
    void LogParamApplyFailure(const wchar_t* pszStep, int nRet) const;
    // The colour steps of the raw chain: the colour-correct statistics and
    // (output mode 0) the calibration map.
    void ColourCorrectStatistics(const uint8_t* pFrame, int nWidth, int nHeight);
    void CalibrationMapRaw(uint8_t* pFrame, int nWidth, int nHeight);

    // The camera as the colour steps reach it.
    int FpgaWhiteBalanceOff() override;
    int FpgaWhiteBalancePreset(int nPreset) override;
    int FpgaWhiteBalanceAuto(bool bContinuous) override;
    int FpgaWhiteBalanceWriteGains(const float fGains[3]) override;
    int FpgaWhiteBalanceReadGains(float fGains[3]) override;
    int FpgaMatrixOff() override;
    int FpgaMatrixPreset(int nPreset) override;
    int FpgaMatrixWrite(const float fMatrix[9]) override;
    int FpgaMatrixRead(float fMatrix[9]) override;
    int GetColourGain(int nChannel, int* pGain) override;
    int SetColourGain(int nChannel, int nGain) override;
    CLog* ColourLog() override { return m_pLog; }

    // The opening steps after the claim; false stops the opening.
    bool OpenCamera();
    void LogIdentity() const;
    void LogCapabilities() const;
    bool IsMono() const;

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
    // Colour path: the sensor's pattern, the chosen one, the one used after
    // flip and mirror, and the demosaic algorithm (FastBilinear).
    int m_nBayerDefaultMode = 0;
    // Read by the catching and drawing threads; a change of the chosen mode
    // and of the output format it implies is made under the Bayer lock.
    std::atomic<int> m_nBayerMode{0};
    std::atomic<int> m_nBayerModeEffective{0};
    int m_nFilterMode = 5;
    // Written under the Bayer lock; the catching threads read it without.
    std::atomic<int> m_nOutputMode{kOutputRaw};
    std::unique_ptr<PlatBitmapInfo> m_pBitmapInfo;
    FieldOfView m_Fov[2] = {};
    mutable std::mutex m_FovMutex;
    // Changed only while no preview thread catches (stopped or paused).
    std::atomic<int> m_nActiveFov{kCaptureFov};
    // The preview record as the running preview's buffers were sized for it
    // at its start; its threads read their frames by it.
    FieldOfView m_PreviewFrame = {};
    CProcessTables m_ProcessTables;
    // The camera's 8-bit LUT as last downloaded (entry i = i / 16 until then).
    // The tables and flags change under the LUT lock (or before any thread
    // of the device runs).
    static constexpr uint32_t kLutEntries = 4096;
    std::array<uint8_t, kLutEntries> m_ucLut{};
    // Look-up tables as last downloaded.
    uint8_t m_bLutDownloaded = 0;
    uint8_t m_bGammaLutDownloaded = 0;
    std::array<uint16_t, kLutEntries> m_usGammaLut{};
    // Bad-pixel correction, read by the catching thread.
    std::atomic<bool> m_bBadPixelCorrection{false};
    std::atomic<int> m_nBadPixelMode{0};
    std::atomic<uint8_t> m_ucBadPixelThresholdNear{BadPixelThresholds::kNear};
    std::atomic<uint8_t> m_ucBadPixelThresholdFar{BadPixelThresholds::kFar};
    // Flat field: its window, switches and frames (switches and frames
    // change under the raw-post lock).
    FieldOfView m_FlatFieldFov = {};
    bool m_bPreviewFlatField = false;
    bool m_bCaptureFlatField = false;
    CFlatFieldFrames m_FlatField;
    // The fixed frame rate last set, in frames per second.
    float m_fFixedFrameRate = 0.0f;
    int m_nColorShift[3] = {};
    uint8_t m_byGlobalResetRequest = 0;
    // The last frame read failed with RET_FAIL; a line sensor calibrates its
    // black level before the next frame.
    std::atomic<bool> m_bFrameFailed{false};
    // Line sensors: split the interleaved segments of each row.
    std::atomic<uint8_t> m_bySplitSegment{0};
    PreviewState m_Preview;
    float m_fPreviousExposureTime = SensorState::kDefaultExposureTimeMs;
    DeviceCapability m_Capability;
    CUsbTransport m_Transport{m_pLog};
    CVendorRequests m_Vendor{m_Transport, m_Capability};
    CFpgaRegisters m_Fpga{m_Vendor, m_Transport, m_Capability};
    CBusControl m_Bus{m_Transport, m_Vendor, m_Fpga, m_Capability};
    CGpio m_Gpio{m_Fpga, m_Vendor, m_Capability};
    CCameraMemory m_Memory{m_Vendor, m_Transport, m_Capability};
    // The sensor unit of the device type, made by SensorInit; until then
    // one that supports nothing.
    std::unique_ptr<CSensorUnit> m_pSensorUnit = std::make_unique<CSensorUnit>();
    plat::CriticalSection m_RawPostLock;   // B
    plat::CriticalSection m_BayerLock;     // C
    plat::CriticalSection m_CallbackLock;  // E
    plat::CriticalSection m_SensorLock;
    plat::CriticalSection m_ControlLock;
    mutable plat::CriticalSection m_LutLock;
    // Automatic exposure and focus measure.
    CAutoExposure m_AutoExposure{*this};
    CFocusMeasure m_FocusMeasure;
    // The threads that share the per-pixel passes of the raw and colour
    // chains; then the colour path.
    CFrameWorkers m_FrameWorkers;
    CColourCorrectTables m_ColourCorrectTables;
    CWhiteBalance m_WhiteBalance{*this, m_ColourCorrectTables};
    CColourMatrix m_ColourMatrix{*this};
    CProcessSaturation m_ProcessSaturation;
    CHueSaturation m_HueSaturation;
    CCalibrationMap m_CalibrationMap;
    // 3D laser-profile state: settings, block and run handle, the run.
    Laser3DState m_3D;
    void CaptureThread3D();
    void ProcessingThread3D();
    // One profile and, when it completes a cloud, the cloud, with their
    // callbacks; false when a stop was asked for during a callback.
    bool ProcessProfile3D(Laser3DRun& run, const uint8_t* pFrame, int nDivider,
                          uint32_t& nFirstMark, uint32_t& nPreviousMark, int& nProfileIndex,
                          int& nCompacted, CRateMeter& rates);
    // The running AVI recording, or one that ended by itself and is being
    // closed, under lock E; the flags (a recording runs, one that ended is
    // closing its file) are read without it. The closing flag is cleared by
    // the recording's own thread: it outlives the recording.
    std::atomic<bool> m_bRecordClosing{false};
    std::shared_ptr<CAviRecording> m_pRecording;
    std::atomic<bool> m_bRecording{false};
    std::atomic<uint32_t> m_nRecordLeftOut{0};
};
