#include "device/Device.h"

#include <optional>
#include <string>

#include "ZDQApi.h"
#include "capability/CapabilityIni.h"
#include "capability/CapabilityLog.h"
#include "capability/CapabilityPresets.h"
#include "capability/DeviceType.h"
#include "common/Library.h"
#include "common/Log.h"
#include "platform/WideText.h"
#include "sensors/LineSensor.h"

namespace {

// The FPGA version byte (bits 8-15 of register 128) holds the version while
// it is below this value; from it on the version is in register 241.
constexpr unsigned kFpgaVersionByteLimit = 224;
// One model whose FPGA reports version 7.4 with a version byte of its own.
constexpr int kTypeWithFixedFpgaVersion = 37;
constexpr uint16_t kFixedFpgaVersion = 0x0704;

// Types whose FPGA drives the output pins; at close the pins are set back to
// output mode 3 (register 29 bits 8-9).
bool DrivesOutputPins(int nType) {
    switch (nType) {
        case 96:
        case 97:
        case 102:
        case 103:
        case 122:
        case 123:
            return true;
        default:
            return false;
    }
}

// The SDK's ini file for the capability sections, if the library has one.
std::optional<plat::Ini> CapabilityIniFile() {
    if (g_pIni == nullptr) {
        return std::nullopt;
    }
    return plat::Ini(plat::Utf8FromWide(g_pIni->Path()));
}

}  // namespace

CDevice::CDevice(int nIndex, bool& bSuccess) : m_nIndex(nIndex) {
    bSuccess = false;
    m_Bus.restoreRegisters = [this] { return SensorRestoreRegs(); };
    m_Fpga.onWorkingModeWritten = [this] { SensorResyncAfterFpgaCtrl(); };
    m_Fpga.reloadLut = [this] { return ReloadLookUpTable(false); };
    m_Fpga.reloadGammaLut = [this] { return ReloadLookUpTable(true); };
    if (m_Transport.Open() != RET_SUCCESS) {
        return;
    }
    bSuccess = OpenCamera();
}

bool CDevice::OpenCamera() {
    uint8_t descriptor[18] = {};
    if (m_Transport.GetDeviceDescriptor(descriptor) != RET_SUCCESS) {
        return false;
    }
    const uint16_t wVendor = static_cast<uint16_t>(descriptor[8] | descriptor[9] << 8);
    const uint16_t wProduct = static_cast<uint16_t>(descriptor[10] | descriptor[11] << 8);
    if (wVendor == kBootLoaderVendorId && wProduct == kBootLoaderProductId) {
        // Without firmware the camera answers nothing but its descriptor.
        m_bBootLoader = true;
        m_nDeviceType = kDeviceTypeBootLoader;
        m_nSerial = 0;
        m_wFirmwareVersion = 0;
        return true;
    }
    if (DDeviceGetInformation(&m_nDeviceType, &m_nSerial, &m_wFirmwareVersion) != RET_SUCCESS) {
        return false;
    }
    m_Transport.SetIdentity(DeviceIdentity{m_nDeviceType, m_nSerial, m_wFirmwareVersion});
    LogSet(g_bLogEnable != 0, g_szLogFolder);

    SetModelCapability(m_Capability, m_nDeviceType, CapVersion::FromWord(m_wFirmwareVersion));
    const std::optional<plat::Ini> ini = CapabilityIniFile();
    if (ini) {
        ReadCapBaseFromIni(m_Capability, *ini, m_nDeviceType,
                           CapVersion::FromWord(m_wFirmwareVersion));
    }
    m_Capability.T = DeviceCapability::ClockPeriod(m_Capability.fPixClkMHz);

    Fpga_GetVersion(&m_wFpgaVersion);  // a camera without FPGA version keeps 0.0
    m_Fpga.SetVersions(m_wFpgaVersion);
    LogIdentity();

    SetFpgaCapability(m_Capability, m_nDeviceType, CapVersion::FromWord(m_wFirmwareVersion),
                      CapVersion::FromWord(m_wFpgaVersion));
    if (ini) {
        ReadCapFpgaFromIni(m_Capability, *ini, m_nDeviceType, CapVersion::FromWord(m_wFpgaVersion));
    }
    m_bCapabilitiesSet = true;
    LogCapabilities();

    const int nReadAll = m_Fpga.Fpga_ReadRelateRegValue();
    if (nReadAll != RET_SUCCESS && nReadAll != RET_NOTSUPPORT) {
        return false;
    }
    if (SensorInit() != RET_SUCCESS) {
        return false;
    }
    m_fPreviousExposureTime = m_Sensor.fExposureTime;
    m_nBayerDefaultMode = static_cast<int>(m_Capability.Get(SensorCap::bmBayerMode));
    m_nBayerMode = m_nBayerDefaultMode;
    m_nBayerModeEffective = m_nBayerDefaultMode;
    if (IsMono()) {
        // A monochrome frame is passed on as it comes, with the sensor flipped.
        m_nOutputMode = kOutputRaw;
        SensorSetFlip(true);
    } else {
        m_nOutputMode = kOutputColour;
    }
    m_Transport.GetDriveVersion(nullptr);
    const bool bStreamControl = m_Capability.Has(FpgaCap::bmStreamMode) && m_Transport.NewDriver();
    if (bStreamControl) {
        m_Transport.SetStreamStarted(false);
        m_Vendor.VendorCmd_StopAcq();
    }
    CreateOutputFormat();
    ApplyOutputFormat();
    // Both fields of view start as the window now in the sensor.
    for (int nWhich : {kCaptureFov, kPreviewFov}) {
        FieldOfView fov{};
        SensorGetFovLimits(fov);
        StoreFieldOfView(nWhich, fov.nColStart, fov.nRowStart, fov.nColSize, fov.nRowSize,
                         fov.AmCol, fov.AmRow, fov.usMultiFrameNum);
    }
    m_nActiveFov = kCaptureFov;
    ApplyOutputFormat();
    InitCalibrationMap();
    LoadLookUpTablesFromCamera();
    m_Vendor.VendorCmd_ResetDevice();  // not every camera has it
    if (LosesRegistersWhenStreamStops(m_nDeviceType)) {
        SensorRestoreRegs();
        m_Bus.ResetDeviceAndHost();
    } else if (bStreamControl) {
        m_Vendor.VendorCmd_StopAcq();
    } else {
        m_Transport.UsbdCmd_Reset();
    }
    if (IsLineSensorType(m_nDeviceType)) {
        AwaibaAutoBlackLevelAllSeg();  // a failed calibration leaves the levels read
    }
    InitAutoExposureAndFocus();
    InitColour();
    // The camera comes up with the settings stored in it; a camera without
    // (valid) stored parameters keeps the defaults.
    ApplyStoredWorkingMode();
    LoadParamFromCamera();
    return true;
}

void CDevice::LogIdentity() const {
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++++Base Information++++.");
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::Api Version     = %d.%d.%d.%d", kApiVersionMajor,
             kApiVersionMinor, kApiVersionRevision, kApiVersionBuild);
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::Device Type     = %ls",
             DeviceTypeName(m_nDeviceType));
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::Serial          = %d", m_nSerial);
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::FirmwareVersion = %d.%d", m_wFirmwareVersion >> 8,
             m_wFirmwareVersion & 0xFF);
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::FpgaVersion     = %d.%d", m_wFpgaVersion >> 8,
             m_wFpgaVersion & 0xFF);
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::----Base Information----.");
}

void CDevice::LogCapabilities() const {
    if (m_pLog == nullptr) {
        return;
    }
    for (const std::wstring& szLine : CapabilityDumpLines(m_Capability)) {
        LogPrint(m_pLog, LOGLEVEL_NORMAL, L"%ls", szLine.c_str());
    }
}

CDevice::~CDevice() {
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++Device UnInit.");
    Release3D();  // the 3D threads end before anything they use goes
    const std::optional<plat::Ini> ini =
        g_bIniOutput != 0 && m_bCapabilitiesSet ? CapabilityIniFile() : std::nullopt;
    if (ini) {
        // Users get complete sections to edit.
        WriteCapFpgaToIni(m_Capability, *ini, m_nDeviceType, CapVersion::FromWord(m_wFpgaVersion));
        WriteCapBaseToIni(m_Capability, *ini, m_nDeviceType,
                          CapVersion::FromWord(m_wFirmwareVersion));
    }
    {
        plat::CriticalSectionLock callbacks(m_CallbackLock);
        m_Preview.pfCallback = m_Preview.pfCallbackSaved = nullptr;
        m_Preview.pContext = nullptr;
        m_Preview.pfCallbackEx = m_Preview.pfCallbackExSaved = nullptr;
        m_Preview.pContextEx = nullptr;
    }
    {
        plat::CriticalSectionLock control(m_ControlLock);
        if (m_Preview.nStatus == PreviewState::kPaused) {
            m_Preview.pause.Resume();
            m_Preview.nStatus = PreviewState::kRunning;
        }
        if (m_Preview.nStatus != PreviewState::kStopped) {
            StopPreview(m_Preview.bParallel, false);
        }
    }
    m_pBitmapInfo.reset();
    if (DrivesOutputPins(m_nDeviceType) && m_Transport.IsOpen()) {
        m_Fpga.Fpga_WrRelateReg(FPGAREG_IO_MODE,
                                static_cast<uint16_t>(m_Fpga.Shadows().IoMode | 0x0300));
    }
    m_Transport.Close();
    LogPrint(m_pLog, LOGLEVEL_NORMAL, L"ZDQAPI::--Device UnInit.");
    delete m_pLog;
    m_pLog = nullptr;
}

int CDevice::DDeviceGetInformation(int* pType, int* pSerial, uint16_t* pFirmware) {
    ApiLog(L"ZDQAPI::++DDeviceGetInformation.");
    if (!m_Transport.IsOpen()) {
        ApiLog(L"ZDQAPI::--DDeviceGetInformation Fail! ( RET_DEVICECLOSED )");
        return RET_DEVICECLOSED;
    }
    if (m_bBootLoader) {
        if (pType != nullptr) {
            *pType = kDeviceTypeBootLoader;
        }
        if (pSerial != nullptr) {
            *pSerial = 0;
        }
        if (pFirmware != nullptr) {
            *pFirmware = 0;
        }
        return RET_SUCCESS;
    }
    const int nRet = m_Vendor.VendorCmd_GetDeviceInformation(pType, pSerial, pFirmware);
    ApiLog(L"ZDQAPI::--DDeviceGetInformation Success!");
    return nRet;
}

int CDevice::DDeviceGetInformationEx(int* pType, int* pSerial, uint16_t* pFirmware,
                                     uint16_t* pFpgaVersion) {
    if (!m_Transport.IsOpen()) {
        return RET_DEVICECLOSED;
    }
    if (m_bBootLoader) {
        if (pFpgaVersion != nullptr) {
            *pFpgaVersion = 0;
        }
        return DDeviceGetInformation(pType, pSerial, pFirmware);
    }
    const int nRet = DDeviceGetInformation(pType, pSerial, pFirmware);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    Fpga_GetVersion(pFpgaVersion);  // its failure leaves 0 and is not the call's
    return RET_SUCCESS;
}

int CDevice::Fpga_GetVersion(uint16_t* pVersion) {
    if (!m_Transport.IsOpen()) {
        return RET_DEVICECLOSED;
    }
    if (pVersion == nullptr) {
        return RET_PARAMERROR;
    }
    *pVersion = 0;
    FpgaRelateRegValue& shadow = m_Fpga.Shadows();
    uint16_t wStatus = 0;
    int nRet = m_Vendor.VendorCmd_RdFpga(FpgaReadAddress(FPGAREG_VERSION_STATUS), &wStatus);
    if (nRet != RET_SUCCESS) {
        shadow.Version = 0;
        return nRet;
    }
    shadow.Version = wStatus;
    const unsigned h = wStatus >> 8;
    if (h < kFpgaVersionByteLimit) {
        if (m_nDeviceType == kTypeWithFixedFpgaVersion && (h & 0x1C) == 0x10) {
            *pVersion = kFixedFpgaVersion;
        } else {
            *pVersion = static_cast<uint16_t>((h / 32) << 8 | ((h >> 2) & 7));
        }
        return RET_SUCCESS;
    }
    uint16_t wExtended = 0;
    nRet = m_Vendor.VendorCmd_RdFpga(FpgaReadAddress(FPGAREG_VERSION_STATUS_EX), &wExtended);
    if (nRet != RET_SUCCESS && nRet != RET_NOTSUPPORT) {
        shadow.VersionEx = 0;
        return nRet;
    }
    shadow.VersionEx = wExtended;
    *pVersion = wExtended;
    return nRet;
}

int CDevice::LogSet(bool bEnable, const wchar_t* pszFolder) {
    if (!bEnable) {
        delete m_pLog;
        m_pLog = nullptr;
        return RET_SUCCESS;
    }
    if (m_pLog != nullptr) {
        return RET_SUCCESS;  // an open log is never moved
    }
    const std::wstring szFileName =
        DeviceLogName(m_nDeviceType, m_nSerial, m_wFirmwareVersion, plat::GetLocalTime());
    std::wstring szFolder;
    if (pszFolder != nullptr && pszFolder[0] != L'\0') {
        szFolder = pszFolder;
        if (!CreateLogFolder(szFolder)) {
            DebugPrint(false, LOGLEVEL_ERROR, L"ZDQAPI::Create Log Folder = %ls Fail!", pszFolder);
            return RET_FAIL;
        }
        DebugPrint(false, LOGLEVEL_ERROR, L"ZDQAPI::Create Log Folder = %ls Success", pszFolder);
    } else {
        szFolder = DefaultLogFolder();
        if (!CreateLogFolder(szFolder)) {
            return RET_FAIL;
        }
    }
    m_pLog = OpenLogInFolder(szFolder, szFileName);
    return m_pLog != nullptr ? RET_SUCCESS : RET_FAIL;
}
