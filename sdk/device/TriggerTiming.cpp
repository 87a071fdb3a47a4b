// Delays and period of the trigger: the trigger delay (FPGA register 3), the
// strobe delay (register 4) and the trigger signal period (register 53, whole
// units in the high byte and 1/256 units in the low byte).
#include "ZDQApi.h"
#include "device/Device.h"

namespace {
constexpr float kMinSignalPeriod = 0.005f;
constexpr int kMaxSignalPeriodWhole = 255;
}  // namespace

int CDevice::TriggerDelaySet(int nDelay) {
    if (!m_Transport.IsOpen()) {
        return RET_DEVICECLOSED;
    }
    return m_Fpga.Fpga_WrRelateReg(FPGAREG_TRIGGER_DELAY, static_cast<uint16_t>(nDelay & 0xFFFF));
}

int CDevice::StrobeDelaySet(int nDelay) {
    if (!m_Transport.IsOpen()) {
        return RET_DEVICECLOSED;
    }
    return m_Fpga.Fpga_WrRelateReg(FPGAREG_STROBE_DELAY, static_cast<uint16_t>(nDelay & 0xFFFF));
}

int CDevice::TriggerSignalPeriodSet(float fPeriod) {
    if (!(fPeriod > kMinSignalPeriod)) {
        return RET_PARAMERROR;
    }
    // A whole part the high byte cannot hold is refused (the range ends at
    // 255 units).
    if (!(fPeriod < static_cast<float>(kMaxSignalPeriodWhole + 1))) {
        return RET_PARAMERROR;
    }
    const int nWhole = static_cast<int>(fPeriod);
    const int nFraction = static_cast<int>((fPeriod - static_cast<float>(nWhole)) * 256.0f) & 0xFF;
    return m_Fpga.Fpga_WrRelateReg(FPGAREG_TRIGGER_SIGNAL_PERIOD,
                                   static_cast<uint16_t>((nWhole << 8) | nFraction));
}

int CDevice::TriggerSignalPeriodGet(float* pPeriod) const {
    if (pPeriod != nullptr) {
        const uint16_t wPeriod = m_Fpga.Shadows().wReg53;
        *pPeriod = static_cast<float>(wPeriod >> 8) + static_cast<float>(wPeriod & 0xFF) / 256.0f;
    }
    return RET_SUCCESS;
}
