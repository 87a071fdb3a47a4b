// The 3D laser-profile family's device side: the 3D initialisation from the
// parameter block in the camera's memory, leaving 3D mode, the 3D ROI, the
// laser mode and the measurement range.
#include <algorithm>
#include <cstring>

#include "ZDQApi.h"
#include "common/OutParam.h"
#include "device/Device.h"

namespace {

// FPGA register 29: bits 8-9 the output pins' mode, 01 for general-purpose
// output. GPIO bit 1 is the laser's output pin.
constexpr uint16_t kOutputModeMask = 0x0300;
constexpr uint16_t kOutputModeGpio = 0x0100;
constexpr uint8_t kLaserPin = 0x02;
// Watermark register: bit 0 header on, bits 1-2 its kind.
constexpr uint16_t kWaterMarkOn = 0x0001;
constexpr uint16_t kWaterMarkKind = 0x0006;
// Fields of the parameter block.
constexpr int kAtColumn = 4, kAtRow = 8, kAtWidth = 12, kAtHeight = 16, kAtFlip = 32;

int32_t BlockInt(const std::vector<uint8_t>& block, int nAt) {
    int32_t nValue = 0;
    std::memcpy(&nValue, block.data() + nAt, sizeof nValue);
    return nValue;
}

}  // namespace

void CDevice::Release3D() {
    StopAcquisition3D();
    if (m_3D.bHandle && m_3D.pLibrary != nullptr) {
        m_3D.pLibrary->UninitRunParam(m_3D.ullRunHandle);
    }
    m_3D.bHandle = false;
    m_3D.ullRunHandle = 0;
    m_3D.paramBlock = std::vector<uint8_t>();
    m_3D.bIs3D = false;
}

int CDevice::Init3D() {
    if (m_3D.bIs3D) {
        return RET_SUCCESS;
    }
    if (m_3D.bAcquiring) {
        return RET_ILLEGALOPERATION;
    }
    Release3D();
    const Laser3DEntries* pLibrary = Laser3DLibrary().Load();
    if (pLibrary == nullptr) {
        return RET_FAIL;
    }
    m_3D.pLibrary = pLibrary;
    const auto fail = [this](int nRet) {
        Release3D();
        return nRet;
    };
    const int nLength = pLibrary->GetParamLength();
    if (nLength <= 0) {
        return fail(RET_NOTSUPPORT);
    }
    // The block must hold the fields read here and stay within its limit.
    if (nLength < Laser3DState::kMinParamLength || nLength > Laser3DState::kMaxParamLength) {
        return fail(RET_FATALERROR);
    }
    if (m_Capability.Get(HardwareCap::bmE2PRomType) != 1) {
        return fail(RET_NOTSUPPORT);
    }
    m_3D.paramBlock.assign(static_cast<size_t>(nLength), 0);
    int nRet = m_Memory.Read(MemoryItem::Laser3DBlock, 0, m_3D.paramBlock.data(),
                             static_cast<uint32_t>(nLength));
    if (nRet != RET_SUCCESS) {
        return fail(nRet);
    }
    // A block of another kind never reaches the library.
    if (m_3D.paramBlock[0] != Laser3DState::kParamMagic) {
        return fail(RET_FATALERROR);
    }
    uint64_t ullHandle = 0;
    nRet = pLibrary->InitRunParam(m_3D.paramBlock.data(), &ullHandle);
    if (nRet != RET_SUCCESS) {
        return fail(nRet < 0 ? nRet : RET_FAIL);
    }
    m_3D.bHandle = true;
    m_3D.ullRunHandle = ullHandle;

    const std::vector<uint8_t>& block = m_3D.paramBlock;
    nRet = CaptureSetFieldOfView(BlockInt(block, kAtColumn), BlockInt(block, kAtRow),
                                 BlockInt(block, kAtWidth), BlockInt(block, kAtHeight), 0, 0, 1);
    if (nRet != RET_SUCCESS) {
        return fail(nRet);
    }
    SensorSetFlip(block[kAtFlip] != 0);
    m_3D.bIs3D = true;

    // The laser follows a general-purpose output pin, or the strobe.
    if ((m_Fpga.Shadows().IoMode & kOutputModeMask) == kOutputModeGpio) {
        uint8_t byStatus = 0;
        if (m_Gpio.GetStatus(&byStatus) == RET_SUCCESS) {
            m_3D.nLaserMode = (byStatus & kLaserPin) != 0 ? 1 : 0;
        } else {
            LaserModeSet(m_3D.nLaserMode);
        }
    } else {
        m_3D.nLaserMode = 2;
        bool bOn = false;
        bool bInvert = false;
        SensorFlashEnableGet(&bOn);
        SensorFlashInvertGet(&bInvert);
        if (!(bOn && bInvert)) {
            LaserModeSet(2);
        }
    }
    // Every frame carries the header with the trigger signal counter.
    const uint16_t wMark = m_Fpga.Shadows().WaterMark;
    m_Fpga.Fpga_WrRelateReg(FPGAREG_WATERMARK_MODE, static_cast<uint16_t>(wMark & ~kWaterMarkKind));
    m_Fpga.Fpga_WrRelateReg(FPGAREG_WATERMARK_MODE,
                            static_cast<uint16_t>(m_Fpga.Shadows().WaterMark | kWaterMarkOn));
    // Frames wait for their trigger without limit.
    SetCaptureTimeOut(plat::kInfinite);
    return RET_SUCCESS;
}

int CDevice::Get3DRoiMax(int* pWidth, int* pHeight) const {
    if (!m_3D.bIs3D) {
        return RET_3DNOTINIT;
    }
    SetOut(pWidth, BlockInt(m_3D.paramBlock, kAtWidth));
    SetOut(pHeight, BlockInt(m_3D.paramBlock, kAtHeight));
    return RET_SUCCESS;
}

int CDevice::Set3DRoi(int nX, int nY, int nWidth, int nHeight) {
    if (!m_3D.bIs3D) {
        return RET_3DNOTINIT;
    }
    if (m_3D.bAcquiring) {
        return RET_ILLEGALOPERATION;
    }
    const int nMaxWidth = BlockInt(m_3D.paramBlock, kAtWidth);
    const int nMaxHeight = BlockInt(m_3D.paramBlock, kAtHeight);
    // A start outside the area becomes 0; the size is cut to the area.
    const auto fit = [](int& nStart, int& nSize, int nMax) {
        if (nStart < 0 || nStart >= nMax) {
            nStart = 0;
        }
        nSize = static_cast<int>(std::min<int64_t>(nSize, int64_t{nMax} - nStart));
    };
    fit(nX, nWidth, nMaxWidth);
    fit(nY, nHeight, nMaxHeight);
    if (nWidth <= 0 || nHeight <= 0) {
        return RET_FAIL;
    }
    const int nRet =
        CaptureSetFieldOfView(BlockInt(m_3D.paramBlock, kAtColumn) + nX,
                              BlockInt(m_3D.paramBlock, kAtRow) + nY, nWidth, nHeight, 0, 0, 1);
    if (nRet != RET_SUCCESS) {
        return RET_FAIL;
    }
    // The library sees the window the camera now sends.
    const FieldOfView& fov = m_Fov[kCaptureFov];
    m_3D.pLibrary->SetRoi(m_3D.ullRunHandle, fov.nColStart - BlockInt(m_3D.paramBlock, kAtColumn),
                          fov.nRowStart - BlockInt(m_3D.paramBlock, kAtRow), fov.nColSize,
                          fov.nRowSize);
    return RET_SUCCESS;
}

int CDevice::Get3DRoi(int* pX, int* pY, int* pWidth, int* pHeight) const {
    if (!m_3D.bIs3D) {
        return RET_3DNOTINIT;
    }
    const FieldOfView& fov = m_Fov[kCaptureFov];
    if (fov.AmCol != 0 || fov.AmRow != 0) {
        return RET_FATALERROR;
    }
    SetOut(pX, fov.nColStart - BlockInt(m_3D.paramBlock, kAtColumn));
    SetOut(pY, fov.nRowStart - BlockInt(m_3D.paramBlock, kAtRow));
    SetOut(pWidth, fov.nColSize);
    SetOut(pHeight, fov.nRowSize);
    return RET_SUCCESS;
}

int CDevice::LaserModeSet(int nMode) {
    if (m_3D.bAcquiring) {
        return RET_ILLEGALOPERATION;
    }
    const uint16_t wIoMode = m_Fpga.Shadows().IoMode;
    if (nMode == 2) {
        if (m_Fpga.Fpga_WrRelateReg(FPGAREG_IO_MODE,
                                    static_cast<uint16_t>(wIoMode & ~kOutputModeMask)) !=
                RET_SUCCESS ||
            SensorFlashEnableSet(true) != RET_SUCCESS ||
            SensorFlashInvertSet(true) != RET_SUCCESS) {
            return RET_FAIL;
        }
    } else {
        uint8_t byDirection = 0;
        uint8_t byStatus = 0;
        const bool bOk =
            m_Fpga.Fpga_WrRelateReg(FPGAREG_IO_MODE,
                                    static_cast<uint16_t>((wIoMode & ~kOutputModeMask) |
                                                          kOutputModeGpio)) == RET_SUCCESS &&
            m_Gpio.GetDirection(&byDirection) == RET_SUCCESS &&
            m_Gpio.SetDirection(byDirection | kLaserPin) == RET_SUCCESS &&
            m_Gpio.GetStatus(&byStatus) == RET_SUCCESS &&
            m_Gpio.SetStatus(nMode == 0 ? (byStatus & ~kLaserPin) : (byStatus | kLaserPin)) ==
                RET_SUCCESS;
        if (!bOk) {
            return RET_FAIL;
        }
    }
    m_3D.nLaserMode = nMode;
    return RET_SUCCESS;
}

int CDevice::Get3DMeasurementRange(float* pXFrom, float* pXTo, float* pZFrom, float* pZTo) {
    if (!m_3D.bIs3D) {
        return RET_3DNOTINIT;
    }
    m_3D.pLibrary->GetMeasurementRange(m_3D.ullRunHandle, pXFrom, pXTo, pZFrom, pZTo);
    return RET_SUCCESS;
}
