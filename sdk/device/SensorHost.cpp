// CDevice as its sensor unit reaches it: the FPGA registers, the frame buffer
// and the identity.
#include "ZDQApi.h"
#include "device/Device.h"
#include "platform/Time.h"

int CDevice::FpgaWrite(int nRegister, uint16_t wValue, uint8_t* pbChanged) {
    return m_Fpga.Fpga_WrRelateReg(nRegister, wValue, pbChanged);
}

uint16_t CDevice::FpgaShadow(int nRegister) const {
    // ShadowOf does not change the shadows it points into.
    const uint16_t* pShadow = const_cast<CFpgaRegisters&>(m_Fpga).ShadowOf(nRegister);
    return pShadow != nullptr ? *pShadow : 0;
}

void CDevice::SettleSensor(uint32_t nMs) {
    plat::SleepMs(nMs);
}
