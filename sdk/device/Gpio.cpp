#include "device/Gpio.h"

namespace {

constexpr uint8_t kPortA = 0x80;
constexpr uint8_t kPortC = 0xA0;
constexpr uint8_t kPortD = 0xB0;
constexpr uint8_t kPortE = 0xB1;
constexpr uint8_t kPortDEnable = 0xB5;
constexpr uint8_t kPortEEnable = 0xB6;

}  // namespace

const CGpio::PinLayout CGpio::kLayouts[7] = {
    {&HardwareCap::bmPD0_7, kPortD, kPortDEnable, 0, 1},
    {&HardwareCap::bmPD2_3, kPortD, kPortDEnable, 2, 3},
    {&HardwareCap::bmPD0_3, kPortD, kPortDEnable, 0, 1},
    {&HardwareCap::bmPE0_3, kPortE, kPortEEnable, 0, 1},
    {&HardwareCap::bmPD2_5, kPortD, kPortDEnable, 2, 3},
    {&HardwareCap::bmPD2_7, kPortD, kPortDEnable, 2, 3},
    {&HardwareCap::bmPD6, kPortD, kPortDEnable, 6, 6},
};

CGpio::CGpio(CFpgaRegisters& fpga, CVendorRequests& vendor, const DeviceCapability& capability)
    : m_Fpga(fpga), m_Vendor(vendor), m_Capability(capability) {}

const CGpio::PinLayout* CGpio::FirstLayout() const {
    for (const PinLayout& layout : kLayouts) {
        if (m_Capability.Has(*layout.pField)) {
            return &layout;
        }
    }
    return nullptr;
}

int CGpio::Shift(const PinLayout& layout) const {
    return m_Capability.Has(HardwareCap::bmSnapIo0) ? layout.nShiftWithSnap : layout.nShift;
}

int CGpio::SetDirection(int nDirection) {
    if (FpgaGpio()) {
        const uint16_t wMode = m_Fpga.Shadows().IoMode;
        const uint16_t wInput = (wMode & ~3u) | ((nDirection & 1) != 0 ? 0 : 1);
        int nRet = m_Fpga.Fpga_WrRelateReg(FPGAREG_IO_MODE, wInput);
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
        const uint16_t wOutput = (wInput & ~0x300u) | ((nDirection & 2) != 0 ? 0x100 : 0);
        return m_Fpga.Fpga_WrRelateReg(FPGAREG_IO_MODE, wOutput);
    }
    if (!m_Capability.Has(HardwareCap::bmIo)) {
        return RET_NOTSUPPORT;
    }
    // Every layout the board has, each shift on top of the previous ones.
    int nValue = nDirection;
    int nRet = RET_SUCCESS;
    for (const PinLayout& layout : kLayouts) {
        if (!m_Capability.Has(*layout.pField)) {
            continue;
        }
        nValue <<= Shift(layout);
        nRet = m_Vendor.VendorCmd_WrFx2Sfr(layout.bySfrEnable, static_cast<uint8_t>(nValue));
        if (nRet != RET_SUCCESS) {
            return nRet;
        }
    }
    return nRet;
}

int CGpio::GetDirection(uint8_t* pDirection) {
    if (pDirection == nullptr) {
        return RET_PARAMERROR;
    }
    if (FpgaGpio()) {
        *pDirection =
            static_cast<uint8_t>((InputMode() != 1 ? 1 : 0) | (OutputMode() == 1 ? 2 : 0));
        return RET_SUCCESS;
    }
    if (!m_Capability.Has(HardwareCap::bmIo)) {
        return RET_NOTSUPPORT;
    }
    const PinLayout* pLayout = FirstLayout();
    if (pLayout == nullptr) {
        *pDirection = 0;
        return RET_SUCCESS;
    }
    uint8_t byValue = 0;
    const int nRet = m_Vendor.VendorCmd_RdFx2Sfr(pLayout->bySfrEnable, &byValue);
    if (nRet == RET_SUCCESS) {
        *pDirection = static_cast<uint8_t>(byValue >> Shift(*pLayout));
    }
    return nRet;
}

int CGpio::SetStatus(int nStatus) {
    if (FpgaGpio()) {
        if (OutputMode() != 1) {
            return RET_ILLEGALOPERATION;
        }
        const uint16_t wStatus =
            (m_Fpga.Shadows().IoStatus & ~0x100u) | ((nStatus & 2) != 0 ? 0x100 : 0);
        return m_Fpga.Fpga_WrRelateReg(FPGAREG_IO_STATUS, wStatus);
    }
    if (!m_Capability.Has(HardwareCap::bmIo)) {
        return RET_NOTSUPPORT;
    }
    const PinLayout* pLayout = FirstLayout();
    if (pLayout == nullptr) {
        return RET_SUCCESS;
    }
    return m_Vendor.VendorCmd_WrFx2Sfr(pLayout->bySfrData,
                                       static_cast<uint8_t>(nStatus << Shift(*pLayout)));
}

int CGpio::GetStatus(uint8_t* pStatus) {
    if (pStatus == nullptr) {
        return RET_PARAMERROR;
    }
    if (FpgaGpio()) {
        return m_Fpga.Fpga_IoStatusGet(pStatus);
    }
    if (!m_Capability.Has(HardwareCap::bmIo)) {
        return RET_NOTSUPPORT;
    }
    const PinLayout* pLayout = FirstLayout();
    if (pLayout == nullptr) {
        return RET_SUCCESS;
    }
    uint8_t byValue = 0;
    const int nRet = m_Vendor.VendorCmd_RdFx2Sfr(pLayout->bySfrData, &byValue);
    if (nRet == RET_SUCCESS) {
        *pStatus = static_cast<uint8_t>(byValue >> Shift(*pLayout));
    }
    return nRet;
}

int CGpio::InModeSet(int nMode) {
    const uint16_t wMode = (m_Fpga.Shadows().IoMode & ~3u) | (nMode & 3);
    return m_Fpga.Fpga_WrRelateReg(FPGAREG_IO_MODE, wMode);
}

int CGpio::InModeGet(int* pMode) const {
    if (pMode != nullptr) {
        *pMode = InputMode();
    }
    return RET_SUCCESS;
}

int CGpio::OutModeSet(int nMode) {
    const uint16_t wMode = (m_Fpga.Shadows().IoMode & ~0x300u) | ((nMode & 3) << 8);
    return m_Fpga.Fpga_WrRelateReg(FPGAREG_IO_MODE, wMode);
}

int CGpio::OutModeGet(int* pMode) const {
    if (pMode != nullptr) {
        *pMode = OutputMode() == 1 ? 1 : 0;
    }
    return RET_SUCCESS;
}

int CGpio::OutStatusSet(int nLevel) {
    if (OutputMode() != 1) {
        return RET_ILLEGALOPERATION;
    }
    const uint16_t wStatus =
        (m_Fpga.Shadows().IoStatus & ~0x100u) | ((nLevel & 1) != 0 ? 0x100 : 0);
    return m_Fpga.Fpga_WrRelateReg(FPGAREG_IO_STATUS, wStatus);
}

int CGpio::InStatusGet(uint8_t* pStatus) {
    uint8_t byStatus = 0;
    const int nRet = m_Fpga.Fpga_IoStatusGet(&byStatus);
    if (nRet == RET_SUCCESS && pStatus != nullptr) {
        *pStatus = byStatus;
    }
    return nRet;
}

int CGpio::FilterSet(uint16_t wValue) {
    return m_Fpga.Fpga_WrRelateReg(FPGAREG_IO_FILTER, wValue);
}

int CGpio::FilterGet(uint16_t* pValue) const {
    if (pValue != nullptr) {
        *pValue = m_Fpga.Shadows().wIoFilter;
    }
    return RET_SUCCESS;
}

int CGpio::SnapButtonStatus(int* pPressed) {
    if (pPressed == nullptr) {
        return RET_PARAMERROR;
    }
    if (FpgaGpio()) {
        if (InputMode() != 1) {
            return RET_ILLEGALOPERATION;
        }
        uint8_t byStatus = 0;
        const int nRet = m_Fpga.Fpga_IoStatusGet(&byStatus);
        if (nRet == RET_SUCCESS) {
            *pPressed = byStatus & 1;
        }
        return nRet;
    }
    // The button pulls its pin low while pressed.
    auto readPin = [&](uint8_t bySfr, int nBit) {
        uint8_t byValue = 0;
        const int nRet = m_Vendor.VendorCmd_RdFx2Sfr(bySfr, &byValue);
        if (nRet == RET_SUCCESS) {
            *pPressed = ((byValue >> nBit) & 1) == 0 ? 1 : 0;
        }
        return nRet;
    };
    bool bAnyPin = false;
    if (m_Capability.Has(HardwareCap::bmSnapPC2)) {
        bAnyPin = true;
        if (readPin(kPortC, 2) == RET_SUCCESS) {
            return RET_SUCCESS;
        }
    }
    if (m_Capability.Has(HardwareCap::bmSnapPA1)) {
        bAnyPin = true;
        if (readPin(kPortA, 1) == RET_SUCCESS) {
            return RET_SUCCESS;
        }
    }
    if (m_Capability.Has(HardwareCap::bmSnapIo0)) {
        bAnyPin = true;
        // Pin 0 of each layout the board has; the last one read counts.
        int nRet = RET_FAIL;
        for (const PinLayout& layout : kLayouts) {
            if (m_Capability.Has(*layout.pField)) {
                nRet = readPin(layout.bySfrData, layout.nShift);
            }
        }
        if (nRet == RET_SUCCESS) {
            return RET_SUCCESS;
        }
    }
    return bAnyPin ? RET_FAIL : RET_NOTSUPPORT;
}
