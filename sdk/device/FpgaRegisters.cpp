#include "device/FpgaRegisters.h"

#include <cmath>
#include <cstring>

namespace {

// A register (or a run of them) whose direct access needs FpgaCapability
// bits. A null gate means no test.
struct RegisterGate {
    int nFirst, nLast;
    const wchar_t* pszName;
    const CapField* pReadGate;
    const CapField* pWriteGate;
};

const RegisterGate kGates[] = {
    {0, 0, L"FPGAREG_WORKING_MODE", &FpgaCap::bmGetWorkingMode, nullptr},
    {3, 3, L"FPGAREG_TRIGGER_DELAY", &FpgaCap::bmGetTriggerDelay, &FpgaCap::bmSetTriggerDelay},
    {4, 4, L"FPGAREG_STROBE_DELAY", &FpgaCap::bmStrobeDelay, &FpgaCap::bmStrobeDelay},
    {8, 8, L"FPGAREG_MULTIFRAMES_NUM", &FpgaCap::bmGetMultiFramesNum,
     &FpgaCap::bmSetMultiFramesNum},
    {9, 9, L"FPGAREG_COLOR_MODE", &FpgaCap::bmGetColorMode, &FpgaCap::bmSetColorMode},
    {16, 18, L"FPGAREG_AWB", &FpgaCap::bmGetAwbMatrix, &FpgaCap::bmSetAwbMatrix},
    {19, 27, L"FPGAREG_CCM", &FpgaCap::bmGetCcmMatrix, &FpgaCap::bmSetCcmMatrix},
    {28, 28, L"FPGAREG_FIXED_FRAME_RATE", &FpgaCap::bmGetTriggerFixFrameRate,
     &FpgaCap::bmSetTriggerFixFrameRate},
    {29, 29, L"FPGAREG_IO_MODE", &FpgaCap::bmGpioNormal, &FpgaCap::bmGpioNormal},
    {30, 30, L"FPGAREG_IO_STATUS", &FpgaCap::bmGpioNormal, &FpgaCap::bmGpioNormal},
    {31, 31, L"FPGAREG_IO_FILTER", &FpgaCap::bmIoFilter, &FpgaCap::bmIoFilter},
    {33, 33, L"FPGAREG_WORKING_MODE_EX", &FpgaCap::bmWorkingModeEx, &FpgaCap::bmWorkingModeEx},
    {34, 34, L"FPGAREG_WATERMARK_MODE", &FpgaCap::bmWaterMarkMode, &FpgaCap::bmWaterMarkMode},
    {35, 35, L"FPGAREG_EXP_LINE_LSB", &FpgaCap::bmExposureLine, &FpgaCap::bmExposureLine},
    {36, 36, L"FPGAREG_EXP_LINE_MSB", &FpgaCap::bmExposureLine, &FpgaCap::bmExposureLine},
    {69, 69, L"FPGAREG_FIXED_FRAME_RATE_EXT", &FpgaCap::bmFixFrameRateWide,
     &FpgaCap::bmFixFrameRateWide},
};

const RegisterGate* GateOf(int nRegister) {
    for (const RegisterGate& gate : kGates) {
        if (nRegister >= gate.nFirst && nRegister <= gate.nLast) {
            return &gate;
        }
    }
    return nullptr;
}

bool IsCapRegister(int nRegister) {
    return nRegister >= 65 && nRegister <= 68;
}

uint16_t ToFixed(float fValue) {
    // 4.12 fixed point, truncated toward zero; out-of-range values saturate.
    const double dScaled = static_cast<double>(fValue) * 4096.0;
    if (!(dScaled > -32768.0)) {
        return static_cast<uint16_t>(static_cast<int16_t>(-32768));
    }
    if (dScaled >= 65535.0) {
        return 65535;
    }
    return static_cast<uint16_t>(static_cast<int32_t>(dScaled));
}

}  // namespace

uint8_t FpgaReadAddress(int nRegister) {
    if (nRegister == 0) {
        return 0xFF;
    }
    if (nRegister < 112) {
        return static_cast<uint8_t>(nRegister | 0x80);
    }
    return static_cast<uint8_t>(nRegister);
}

CFpgaRegisters::CFpgaRegisters(CVendorRequests& vendor, CUsbTransport& transport,
                               const DeviceCapability& capability)
    : m_Vendor(vendor), m_Transport(transport), m_Capability(capability) {
    m_Shadow.wMultiFrameNum = 1;
}

uint16_t* CFpgaRegisters::ShadowOf(int nRegister) {
    FpgaRelateRegValue& s = m_Shadow;
    switch (nRegister) {
        case 0:
            return &s.WorkingMode;
        case 1:
            return &s.usXSize;
        case 2:
            return &s.usYSize;
        case 3:
            return &s.wTriggerDelay;
        case 4:
            return &s.wStrobeDelay;
        case 8:
            return &s.wMultiFrameNum;
        case 9:
            return &s.ColorMode;
        case 16:
            return &s.wAwbR;
        case 17:
            return &s.wAwbG;
        case 18:
            return &s.wAwbB;
        case 28:
            return &s.wFixedFrameRate;
        case 29:
            return &s.IoMode;
        case 30:
            return &s.IoStatus;
        case 31:
            return &s.wIoFilter;
        case 33:
            return &s.WorkingModeEx;
        case 34:
            return &s.WaterMark;
        case 35:
            return &s.wExpLineLow;
        case 36:
            return &s.wExpLineHigh;
        case 37:
            return &s.wReg37;
        case 38:
            return &s.wReg38;
        case 43:
            return &s.usXStart;
        case 44:
            return &s.usYStart;
        case 48:
            return &s.wReg48;
        case 50:
            return &s.wReg50;
        case 51:
            return &s.wReg51;
        case 52:
            return &s.wReg52;
        case 53:
            return &s.wReg53;
        case 69:
            return &s.wFixedFrameRateExt;
        default:
            break;
    }
    if (nRegister >= 19 && nRegister <= 27) {
        return &s.wCcmGain[nRegister - 19];
    }
    if (IsCapRegister(nRegister)) {
        return &s.wCap[nRegister - 65];
    }
    return nullptr;
}

int CFpgaRegisters::Fpga_RdReg(int nRegister, uint16_t* pValue) {
    if (pValue == nullptr) {
        return RET_PARAMERROR;
    }
    if (!m_Transport.IsOpen()) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_RdReg Error! ( Device Closed! )");
        return RET_DEVICECLOSED;
    }
    if (m_Capability.Has(FirmwareCap::bmReadFpgaDead) && nRegister != FPGAREG_VERSION_STATUS) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_RdReg. ( Not Support READ_FPGA! )");
        return RET_NOTSUPPORT;
    }
    *pValue = 0;
    if (nRegister == FPGAREG_VERSION_STATUS && !m_Capability.Has(FirmwareCap::bmGetVersionStatus)) {
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_VERSION_STATUS! Set to 0x0000 )");
        return RET_NOTSUPPORT;
    }
    if (nRegister == FPGAREG_VERSION_STATUS_EX && (m_Shadow.Version >> 8) < 224) {
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_VERSION_STATUS_EX! Set to 0x0000 )");
        return RET_NOTSUPPORT;
    }
    const RegisterGate* pGate = GateOf(nRegister);
    if (pGate != nullptr && !m_Capability.Has(*pGate->pReadGate)) {
        if (nRegister == FPGAREG_MULTIFRAMES_NUM) {
            LogPrint(Log(), LOGLEVEL_NORMAL,
                     L"ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_MULTIFRAMES_NUM! Set to 1 )");
            *pValue = 1;
            return RET_NOTSUPPORT;
        }
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_RdReg. ( Not Support %ls! )",
                 pGate->pszName);
        if (nRegister == FPGAREG_WORKING_MODE) {
            if (m_Transport.Identity().nDeviceType > 1) {
                return m_Vendor.VendorCmd_GetWorkingMode(pValue) == RET_SUCCESS ? RET_SUCCESS
                                                                                : RET_NOTSUPPORT;
            }
            return RET_NOTSUPPORT;
        }
        if (nRegister == FPGAREG_TRIGGER_DELAY) {
            return m_Vendor.VendorCmd_GetTriggerDelay(pValue) == RET_SUCCESS ? RET_SUCCESS
                                                                             : RET_NOTSUPPORT;
        }
        // Register 28 without its read-back included: a read never writes.
        return RET_NOTSUPPORT;
    }
    if (IsCapRegister(nRegister) && !m_Capability.Has(FpgaCap::bm3DRegisters)) {
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_CAP_XXX setting! )");
        return RET_NOTSUPPORT;
    }
    const int nRet = m_Vendor.VendorCmd_RdFpga(FpgaReadAddress(nRegister), pValue);
    if (nRegister == FPGAREG_MULTIFRAMES_NUM && nRet == RET_SUCCESS && *pValue == 0) {
        *pValue = 1;
    }
    if (nRegister == FPGAREG_VERSION_STATUS && nRet != RET_SUCCESS && nRet != RET_NOTSUPPORT) {
        return RET_NOTSUPPORT;
    }
    return nRet;
}

int CFpgaRegisters::Fpga_WrReg(int nRegister, uint16_t wValue) {
    if (!m_Transport.IsOpen()) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_WrReg Error! ( Device Closed! )");
        return RET_DEVICECLOSED;
    }
    if (nRegister == FPGAREG_WORKING_MODE) {
        return m_Vendor.VendorCmd_SetWorkingMode(wValue) == RET_SUCCESS ? RET_SUCCESS
                                                                        : RET_NOTSUPPORT;
    }
    if (nRegister == FPGAREG_TRIGGER_DELAY && !m_Capability.Has(FpgaCap::bmSetTriggerDelay)) {
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--Fpga_WrReg. ( Not Support FPGAREG_TRIGGER_DELAY Directly! )");
        return m_Vendor.VendorCmd_SetTriggerDelay(wValue) == RET_SUCCESS ? RET_SUCCESS
                                                                         : RET_NOTSUPPORT;
    }
    const RegisterGate* pGate = GateOf(nRegister);
    if (pGate != nullptr && pGate->pWriteGate != nullptr && !m_Capability.Has(*pGate->pWriteGate)) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_WrReg. ( Not Support %ls! )",
                 pGate->pszName);
        return RET_NOTSUPPORT;
    }
    if (nRegister == FPGAREG_FIXED_FRAME_RATE && wValue == 0 &&
        !m_Capability.Has(FpgaCap::bmFixFrameRateWide)) {
        wValue = 1;
    }
    if (IsCapRegister(nRegister) && !m_Capability.Has(FpgaCap::bm3DRegisters)) {
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_CAP_XXX setting! )");
        return RET_NOTSUPPORT;
    }
    return m_Vendor.VendorCmd_WrFpga(static_cast<uint8_t>(nRegister), wValue);
}

int CFpgaRegisters::Fpga_WrRelateReg(int nRegister, uint16_t wValue, uint8_t* pbChanged) {
    bool bWritten = false;
    int nRet;
    {
        std::lock_guard<std::mutex> write(m_WriteMutex);
        nRet = WriteRelateLocked(nRegister, wValue, bWritten);
    }
    return bWritten ? AfterRelateWrite(nRegister, pbChanged) : nRet;
}

int CFpgaRegisters::Fpga_SetRelateRegBits(int nRegister, uint16_t wSet, uint16_t wClear) {
    const uint16_t* pShadow = ShadowOf(nRegister);
    if (pShadow == nullptr) {
        return RET_PARAMERROR;
    }
    bool bWritten = false;
    int nRet;
    {
        std::lock_guard<std::mutex> write(m_WriteMutex);
        nRet = WriteRelateLocked(nRegister, static_cast<uint16_t>((*pShadow | wSet) & ~wClear),
                                 bWritten);
    }
    return bWritten ? AfterRelateWrite(nRegister, nullptr) : nRet;
}

int CFpgaRegisters::WriteRelateLocked(int nRegister, uint16_t wValue, bool& bWritten) {
    uint16_t* pShadow = ShadowOf(nRegister);
    if (pShadow != nullptr && *pShadow == wValue) {
        return RET_SUCCESS;
    }
    const int nRet = Fpga_WrReg(nRegister, wValue);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    bWritten = true;
    // Bit 8 of the working mode is a one-shot command, never remembered. A
    // shadow that keeps its value is not written: the command alone (the
    // frame buffer emptied) leaves the shadow to the mode writers' reads.
    const uint16_t wStored = nRegister == FPGAREG_WORKING_MODE ? (wValue & 0xFEFF) : wValue;
    if (pShadow != nullptr && *pShadow != wStored) {
        std::lock_guard<std::mutex> lock(m_ShadowMutex);
        *pShadow = wStored;
    }
    return RET_SUCCESS;
}

int CFpgaRegisters::AfterRelateWrite(int nRegister, uint8_t* pbChanged) {
    if (pbChanged != nullptr) {
        *pbChanged = 1;
    }
    if (nRegister == FPGAREG_WORKING_MODE && onWorkingModeWritten) {
        onWorkingModeWritten();
    }
    if (nRegister == FPGAREG_MULTIFRAMES_NUM && onMultiFramesWritten) {
        onMultiFramesWritten();
    }
    return RET_SUCCESS;
}

bool CFpgaRegisters::ReadAllowed() const {
    return !m_Capability.Has(FirmwareCap::bmReadFpgaDead);
}

// One step of the read-all through Fpga_RdReg into a shadow: 1, -3 or the
// error that ends the sequence.
int CFpgaRegisters::ReadStep(int nRegister, uint16_t& wShadow) {
    if (!m_Transport.IsOpen()) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_RdReg Error! ( Device Closed! )");
        return RET_DEVICECLOSED;
    }
    uint16_t wValue = 0;
    const int nRet = Fpga_RdReg(nRegister, &wValue);
    if (nRet == RET_SUCCESS) {
        wShadow = wValue;
    } else if (nRegister == FPGAREG_MULTIFRAMES_NUM) {
        wShadow = 1;
    }
    return nRet;
}

bool CFpgaRegisters::HasModelWindowRegisters() const {
    const int nType = m_Transport.Identity().nDeviceType;
    const int nFpgaMajor = m_wFpgaVersion >> 8;
    return nType == 111 || nType == 112 || nType == 117 || nType == 118 || nType == 123 ||
           ((nType == 102 || nType == 103) && nFpgaMajor > 19);
}

bool CFpgaRegisters::HasModelExtraRegisters() const {
    const int nType = m_Transport.Identity().nDeviceType;
    const uint16_t wFirmware = m_Transport.Identity().wFirmwareVersion;
    return nType == 121 || nType == 122 || (wFirmware >> 8) >= 20 || nType == 123 ||
           ((nType == 102 || nType == 103) && wFirmware >= 0x1414);
}

int CFpgaRegisters::Fpga_ReadRelateRegValue() {
    LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::++Fpga_ReadRelateRegValue");
    m_Shadow = FpgaRelateRegValue{};
    m_Shadow.wMultiFrameNum = 1;
    FpgaRelateRegValue& s = m_Shadow;
    int nRet = RET_SUCCESS;
    auto step = [&](int nRegister, uint16_t& wShadow) {
        nRet = ReadStep(nRegister, wShadow);
        return nRet == RET_SUCCESS || nRet == RET_NOTSUPPORT;
    };
    auto finish = [&]() {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_ReadRelateRegValue");
        Fpga_DumpRelateRegValue();
        return nRet;
    };
    // Version: a failed read counts as not supported and the sequence goes on.
    if (!m_Transport.IsOpen()) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_RdReg Error! ( Device Closed! )");
        nRet = RET_DEVICECLOSED;
        return finish();
    }
    nRet = ReadStep(FPGAREG_VERSION_STATUS, s.Version);
    if (nRet != RET_SUCCESS) {
        nRet = RET_NOTSUPPORT;
    }
    if (!ReadAllowed()) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_RdReg. ( Not Support READ_FPGA! )");
        return finish();
    }
    const int kDirect[] = {FPGAREG_VERSION_STATUS_EX, 0, 3, 4, 8, 9, 16, 17, 18};
    for (int nRegister : kDirect) {
        if (!step(nRegister,
                  nRegister == FPGAREG_VERSION_STATUS_EX ? s.VersionEx : *ShadowOf(nRegister))) {
            return finish();
        }
    }
    for (int nRegister = 19; nRegister <= 27; ++nRegister) {
        if (!step(nRegister, *ShadowOf(nRegister))) {
            return finish();
        }
    }
    // Register 28's result does not end the sequence.
    ReadStep(FPGAREG_FIXED_FRAME_RATE, s.wFixedFrameRate);
    for (int nRegister : {69, 29, 30, 31, 33, 34, 35, 36}) {
        if (!step(nRegister, *ShadowOf(nRegister))) {
            return finish();
        }
    }
    if (HasModelWindowRegisters()) {
        for (int nRegister : {1, 2, 43, 44}) {
            if (!step(nRegister, *ShadowOf(nRegister))) {
                return finish();
            }
        }
    }
    if (HasModelExtraRegisters()) {
        for (int nRegister : {1, 2, 38, 37, 50, 51, 52, 48}) {
            if (!step(nRegister, *ShadowOf(nRegister))) {
                return finish();
            }
        }
    }
    if (m_Capability.Has(FpgaCap::bm3DRegisters)) {
        for (int nRegister : {65, 66, 67, 68, 53}) {
            if (!step(nRegister, *ShadowOf(nRegister))) {
                return finish();
            }
        }
    }
    return finish();
}

// One register of the write-back: 1, -3 (gate, logged) or the error.
int CFpgaRegisters::WriteBack(int nRegister, uint16_t wValue) {
    const RegisterGate* pGate = GateOf(nRegister);
    if (pGate != nullptr && pGate->pWriteGate != nullptr && !m_Capability.Has(*pGate->pWriteGate)) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_WrReg. ( Not Support %ls! )",
                 pGate->pszName);
        return RET_NOTSUPPORT;
    }
    if (IsCapRegister(nRegister) && !m_Capability.Has(FpgaCap::bm3DRegisters)) {
        return RET_NOTSUPPORT;
    }
    if (nRegister == FPGAREG_FIXED_FRAME_RATE && wValue == 0 &&
        !m_Capability.Has(FpgaCap::bmFixFrameRateWide)) {
        wValue = 1;
    }
    return m_Vendor.VendorCmd_WrFpga(static_cast<uint8_t>(nRegister), wValue);
}

int CFpgaRegisters::Fpga_WriteRelateRegValue() {
    if (!m_Transport.IsOpen()) {
        return RET_DEVICECLOSED;
    }
    const FpgaRelateRegValue& s = m_Shadow;
    // Every register is written back even when one is refused, so one bad
    // register does not leave all those after it lost; the first failure is
    // the result. A closed handle ends the sequence.
    int nRet = RET_SUCCESS;
    int nFirstFailure = RET_SUCCESS;
    auto step = [&](int nResult) {
        nRet = nResult;
        if (nRet != RET_SUCCESS && nRet != RET_NOTSUPPORT && nFirstFailure == RET_SUCCESS) {
            nFirstFailure = nRet;
        }
        return nRet != RET_DEVICECLOSED;
    };
    auto writeList = [&](std::initializer_list<int> registers) {
        for (int nRegister : registers) {
            if (!step(WriteBack(nRegister, *ShadowOf(nRegister)))) {
                return false;
            }
        }
        return true;
    };
    const bool bOpen = step(m_Vendor.VendorCmd_SetWorkingMode(s.WorkingMode)) &&
                       step(m_Capability.Has(FpgaCap::bmSetTriggerDelay)
                                ? m_Vendor.VendorCmd_WrFpga(FPGAREG_TRIGGER_DELAY, s.wTriggerDelay)
                                : m_Vendor.VendorCmd_SetTriggerDelay(s.wTriggerDelay)) &&
                       writeList({4,  8,  9,  16, 17, 18, 19, 20, 21, 22, 23, 24,
                                  25, 26, 27, 28, 69, 29, 30, 31, 33, 34, 35, 36}) &&
                       (!reloadLut || step(reloadLut())) &&
                       (!reloadGammaLut || step(reloadGammaLut())) &&
                       (!HasModelWindowRegisters() || writeList({43, 1, 44, 2})) &&
                       (!HasModelExtraRegisters() || writeList({1, 2, 38, 37, 50, 51, 52, 48})) &&
                       (!m_Capability.Has(FpgaCap::bm3DRegisters) || writeList({65, 66, 67, 68}));
    if (!bOpen) {
        return RET_DEVICECLOSED;
    }
    return nFirstFailure != RET_SUCCESS ? nFirstFailure : nRet;
}

void CFpgaRegisters::Fpga_DumpRelateRegValue() const {
    CLog* pLog = Log();
    if (pLog == nullptr) {
        return;
    }
    const FpgaRelateRegValue& s = m_Shadow;
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::++++ZDQLOG_OUTPUT_FPGA_RELATE_REG_VALUE++++.");
    auto hex = [&](const wchar_t* pszName, unsigned nValue) {
        LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::%-30ls0x%04x", pszName, nValue);
    };
    auto dec = [&](const wchar_t* pszName, unsigned nValue) {
        LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::%-30ls%d", pszName, nValue);
    };
    hex(L"Version:", s.Version);
    hex(L"VersionEx:", s.VersionEx);
    hex(L"WorkingMode:", s.WorkingMode);
    dec(L"wTriggerDelay:", s.wTriggerDelay);
    dec(L"wMultiFrameNum:", s.wMultiFrameNum);
    hex(L"ColorMode:", s.ColorMode);
    hex(L"wAwbR:", s.wAwbR);
    hex(L"wAwbG:", s.wAwbG);
    hex(L"wAwbB:", s.wAwbB);
    const wchar_t* const kCcmNames[9] = {L"wCcmGain00:", L"wCcmGain01:", L"wCcmGain02:",
                                         L"wCcmGain10:", L"wCcmGain11:", L"wCcmGain12:",
                                         L"wCcmGain20:", L"wCcmGain21:", L"wCcmGain22:"};
    for (int i = 0; i < 9; ++i) {
        hex(kCcmNames[i], s.wCcmGain[i]);
    }
    dec(L"wFixedFrameRate:", s.wFixedFrameRate);
    hex(L"IoMode:", s.IoMode);
    hex(L"IoStatus:", s.IoStatus);
    dec(L"wIoFilter:", s.wIoFilter);
    hex(L"WorkingModeEx:", s.WorkingModeEx);
    hex(L"WaterMark:", s.WaterMark);
    dec(L"ExpLine:", static_cast<unsigned>(s.wExpLineHigh) << 16 | s.wExpLineLow);
    dec(L"bLoadLut:", s.bLoadLut);
    dec(L"bLoadGammaLut:", s.bLoadGammaLut);
    dec(L"usXStart:", s.usXStart);
    dec(L"usYStart:", s.usYStart);
    dec(L"usXSize:", s.usXSize);
    dec(L"usYSize:", s.usYSize);
    LogPrint(pLog, LOGLEVEL_NORMAL, L"ZDQAPI::----ZDQLOG_OUTPUT_FPGA_RELATE_REG_VALUE----.");
    LogPrint(pLog, LOGLEVEL_NORMAL, L"===========================================================");
}

// ---- Colour processing ------------------------------------------------------

bool CFpgaRegisters::IsColourCamera() const {
    return !m_Capability.Has(SensorCap::bmMono);
}

int CFpgaRegisters::Fpga_AwbDisable() {
    if (!IsColourCamera() || !m_Capability.Has(FpgaCap::bmSetColorMode)) {
        return RET_NOTSUPPORT;
    }
    return Fpga_WrRelateReg(FPGAREG_COLOR_MODE, m_Shadow.ColorMode & ~1u);
}

int CFpgaRegisters::Fpga_AwbSetPresetting(int nPreset) {
    if (!IsColourCamera() || !m_Capability.Has(FpgaCap::bmSetColorMode) ||
        !m_Capability.Has(FpgaCap::bmAwbPresettings)) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wLow = static_cast<uint16_t>((nPreset * 8 + 1) & 0xFF);
    return Fpga_WrRelateReg(FPGAREG_COLOR_MODE, (m_Shadow.ColorMode & 0xFF00) | wLow);
}

int CFpgaRegisters::Fpga_AwbSetMatrix(float fR, float fG, float fB) {
    if (!IsColourCamera() || !m_Capability.Has(FpgaCap::bmSetColorMode) ||
        !m_Capability.Has(FpgaCap::bmSetAwbMatrix)) {
        return RET_NOTSUPPORT;
    }
    int nRet = Fpga_WrRelateReg(FPGAREG_COLOR_MODE, m_Shadow.ColorMode | 7);
    const float fGains[3] = {fR, fG, fB};
    for (int i = 0; i < 3 && nRet == RET_SUCCESS; ++i) {
        nRet = Fpga_WrRelateReg(FPGAREG_AWB + i, ToFixed(fGains[i]));
    }
    return nRet;
}

int CFpgaRegisters::Fpga_AwbGetMatrix(float* pR, float* pG, float* pB) {
    if (!IsColourCamera() || !m_Capability.Has(FpgaCap::bmSetAwbMatrix)) {
        return RET_NOTSUPPORT;
    }
    int nRet = RET_NOTSUPPORT;
    if (!ReadAllowed()) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_RdReg. ( Not Support READ_FPGA! )");
    } else if (!m_Capability.Has(FpgaCap::bmGetAwbMatrix)) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_AWB! )");
    } else {
        for (int i = 0; i < 3; ++i) {
            nRet = m_Vendor.VendorCmd_RdFpga(FpgaReadAddress(FPGAREG_AWB + i),
                                             ShadowOf(FPGAREG_AWB + i));
        }
    }
    float* const pOut[3] = {pR, pG, pB};
    for (int i = 0; i < 3; ++i) {
        if (pOut[i] != nullptr) {
            *pOut[i] = *ShadowOf(FPGAREG_AWB + i) / 4096.0f;
        }
    }
    return nRet;
}

int CFpgaRegisters::Fpga_CcmDisable() {
    if (!IsColourCamera() || !m_Capability.Has(FpgaCap::bmSetColorMode)) {
        return RET_NOTSUPPORT;
    }
    return Fpga_WrRelateReg(FPGAREG_COLOR_MODE, m_Shadow.ColorMode & ~0x100u);
}

int CFpgaRegisters::Fpga_CcmSetPresetting(int nPreset) {
    if (!IsColourCamera() || !m_Capability.Has(FpgaCap::bmSetColorMode) ||
        !m_Capability.Has(FpgaCap::bmCcmPresettings)) {
        return RET_NOTSUPPORT;
    }
    const uint16_t wMode =
        static_cast<uint16_t>((nPreset << 11) | (m_Shadow.ColorMode & 0xFF) | 0x100);
    return Fpga_WrRelateReg(FPGAREG_COLOR_MODE, wMode);
}

int CFpgaRegisters::Fpga_CcmSetMatrix(const float fMatrix[9]) {
    if (!IsColourCamera() || !m_Capability.Has(FpgaCap::bmSetColorMode) ||
        !m_Capability.Has(FpgaCap::bmSetCcmMatrix)) {
        return RET_NOTSUPPORT;
    }
    if (fMatrix == nullptr) {
        return RET_PARAMERROR;
    }
    int nRet = Fpga_WrRelateReg(FPGAREG_COLOR_MODE, m_Shadow.ColorMode | 0x700);
    for (int i = 0; i < 9 && nRet == RET_SUCCESS; ++i) {
        nRet = Fpga_WrRelateReg(FPGAREG_CCM + i, ToFixed(fMatrix[i]));
    }
    return nRet;
}

int CFpgaRegisters::Fpga_CcmGetMatrix(float fMatrix[9]) {
    if (!IsColourCamera() || !m_Capability.Has(FpgaCap::bmSetCcmMatrix)) {
        return RET_NOTSUPPORT;
    }
    int nRet = RET_NOTSUPPORT;
    if (!ReadAllowed()) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_RdReg. ( Not Support READ_FPGA! )");
    } else if (!m_Capability.Has(FpgaCap::bmGetCcmMatrix)) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_CCM! )");
    } else {
        for (int i = 0; i < 9; ++i) {
            nRet = m_Vendor.VendorCmd_RdFpga(FpgaReadAddress(FPGAREG_CCM + i),
                                             ShadowOf(FPGAREG_CCM + i));
        }
    }
    if (fMatrix != nullptr) {
        for (int i = 0; i < 9; ++i) {
            fMatrix[i] = static_cast<int16_t>(m_Shadow.wCcmGain[i]) / 4096.0f;
        }
    }
    return nRet;
}

// ---- Trigger and I/O status ------------------------------------------------

int CFpgaRegisters::TriggerStatusGet(int* pStatus) {
    if (pStatus == nullptr) {
        return RET_PARAMERROR;
    }
    if (m_wFpgaVersion == 0) {
        return RET_NOTSUPPORT;
    }
    if (!m_Transport.IsOpen()) {
        return RET_DEVICECLOSED;
    }
    if (!m_Capability.Has(FirmwareCap::bmGetVersionStatus)) {
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_VERSION_STATUS! )");
        return RET_NOTSUPPORT;
    }
    uint16_t wValue = 0;
    if (m_Vendor.VendorCmd_RdFpga(FPGAREG_VERSION_STATUS, &wValue) != RET_SUCCESS) {
        return RET_NOTSUPPORT;
    }
    *pStatus = (wValue & 0x0C) != 0 ? 1 : 0;
    return RET_SUCCESS;
}

int CFpgaRegisters::Fpga_IoStatusGet(uint8_t* pStatus) {
    if (!m_Transport.IsOpen()) {
        return RET_DEVICECLOSED;
    }
    if (!ReadAllowed()) {
        LogPrint(Log(), LOGLEVEL_NORMAL, L"ZDQAPI::--Fpga_RdReg. ( Not Support READ_FPGA! )");
        return RET_NOTSUPPORT;
    }
    if (!m_Capability.Has(FpgaCap::bmGpioNormal)) {
        LogPrint(Log(), LOGLEVEL_NORMAL,
                 L"ZDQAPI::--Fpga_RdReg. ( Not Support FPGAREG_IO_STATUS! )");
        return RET_NOTSUPPORT;
    }
    uint16_t wValue = 0;
    const int nRet = m_Vendor.VendorCmd_RdFpga(FpgaReadAddress(FPGAREG_IO_STATUS), &wValue);
    if (nRet == RET_SUCCESS && pStatus != nullptr) {
        *pStatus = static_cast<uint8_t>((wValue & 1) | ((m_Shadow.IoStatus >> 8) & 1) << 1);
    }
    return nRet;
}

// ---- Watermark --------------------------------------------------------------

int CFpgaRegisters::WaterMarkSetEnable(int bEnable) {
    const uint16_t wMode = (m_Shadow.WaterMark & ~1u) | (bEnable != 0 ? 1 : 0);
    return Fpga_WrRelateReg(FPGAREG_WATERMARK_MODE, wMode);
}

int CFpgaRegisters::WaterMarkSetMode(int nMode) {
    const uint16_t wMode = (m_Shadow.WaterMark & ~6u) | ((nMode & 3) << 1);
    return Fpga_WrRelateReg(FPGAREG_WATERMARK_MODE, wMode);
}

int CFpgaRegisters::WaterMarkGetEnable(uint8_t* pbEnable) const {
    if (pbEnable != nullptr) {
        *pbEnable = m_Shadow.WaterMark & 1;
    }
    return RET_SUCCESS;
}

int CFpgaRegisters::WaterMarkGetMode(int* pMode) const {
    if (pMode != nullptr) {
        *pMode = (m_Shadow.WaterMark >> 1) & 3;
    }
    return RET_SUCCESS;
}

void CFpgaRegisters::StoreWaterMarkHead(const uint8_t* pFrame, uint32_t nBytes) {
    if (pFrame == nullptr || nBytes < WaterMarkInfo::kSize) {
        return;
    }
    std::memcpy(m_WaterMark.byHead, pFrame, WaterMarkInfo::kSize);
}

namespace {
constexpr uint8_t kWaterMarkMagic[6] = {0x2A, 0x4D, 0x41, 0x52, 0x4B, 0x2A};  // "*MARK*"
uint32_t Le32(const uint8_t* p) {
    return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
}  // namespace

int CFpgaRegisters::WaterMarkGetInfo(uint16_t* pNumber, int* pValue2, int* pValue3) const {
    if ((m_Shadow.WaterMark & 1) == 0) {
        return RET_NOTSUPPORT;
    }
    const uint8_t* p = m_WaterMark.byHead;
    if (std::memcmp(p, kWaterMarkMagic, sizeof(kWaterMarkMagic)) != 0) {
        return RET_FAIL;
    }
    if (pNumber != nullptr) {
        *pNumber = Le16(p + 6);
    }
    if (pValue2 != nullptr) {
        *pValue2 = static_cast<int>(Le32(p + 8));
    }
    if (pValue3 != nullptr) {
        *pValue3 = static_cast<int>(Le32(p + 12));
    }
    return RET_SUCCESS;
}

int CFpgaRegisters::WaterMarkGetInfoEx(int* pNumber, int* pValue2, int* pValue3, int* pValue4,
                                       uint16_t* pValue5) const {
    uint16_t wLow = 0;
    const int nRet = WaterMarkGetInfo(&wLow, pValue2, pValue3);
    if (nRet != RET_SUCCESS) {
        return nRet;
    }
    const uint8_t* p = m_WaterMark.byHead;
    const bool bEx = m_Capability.Has(FpgaCap::bmWaterMarkInfoEx);
    if (pNumber != nullptr) {
        *pNumber = bEx ? static_cast<int>(uint32_t(Le16(p + 16)) << 16 | wLow) : wLow;
    }
    if (pValue4 != nullptr) {
        *pValue4 = bEx ? static_cast<int>(Le32(p + 18)) : 0;
    }
    if (pValue5 != nullptr) {
        *pValue5 = bEx ? Le16(p + 22) : 0;
    }
    return RET_SUCCESS;
}
