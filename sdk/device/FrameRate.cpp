// The fixed frame rate of the FPGA's trigger modes 3 and 4. The FPGA counts
// the frame period in one of three step kinds: 50 microseconds (register 28),
// 1 microsecond (register 28), or cycles of its 132 MHz frame-rate timer
// (high half in register 69, low half in register 28).
#include "ZDQApi.h"
#include "device/Device.h"

namespace {
constexpr double kFrameRateClockHz = 132.0 * 1000000;
constexpr double kMicrosPerSecond = 1000000.0;
constexpr double kCoarseStepMicros = 50.0;

struct FrameRateLimits {
    float fMin, fMax;
};

FrameRateLimits LimitsFor(const DeviceCapability& capability) {
    if (capability.Has(FpgaCap::bmFixFrameRateWide)) {
        return {1.0f, 1000000.0f};
    }
    if (capability.Has(FpgaCap::bmFixeFrameRateStep1uS)) {
        return {15.259022f, 1000000.0f};
    }
    return {0.30518043f, 20000.0f};
}

bool HasFixedFrameRate(const DeviceCapability& capability) {
    return capability.Has(FpgaCap::bmSetTriggerFixFrameRate) ||
           capability.Has(FpgaCap::bmTriggerModeHighLowFixFramerate);
}

}  // namespace

int CDevice::SetFixedFrameRate(float fFps) {
    return Controlled([&] {
        if (!HasFixedFrameRate(m_Capability)) {
            return RET_NOTSUPPORT;
        }
        const FrameRateLimits limits = LimitsFor(m_Capability);
        if (!(fFps >= limits.fMin && fFps <= limits.fMax)) {
            return RET_PARAMERROR;
        }
        int nRet;
        if (m_Capability.Has(FpgaCap::bmFixFrameRateWide)) {
            const auto nCount = static_cast<uint32_t>(kFrameRateClockHz / fFps);
            nRet = m_Fpga.Fpga_WrRelateReg(FPGAREG_FIXED_FRAME_RATE_EXT,
                                           static_cast<uint16_t>(nCount >> 16));
            if (nRet == RET_SUCCESS) {
                const auto wLow = static_cast<uint16_t>(nCount & 0xFFFF);
                nRet = m_Fpga.Fpga_WrRelateReg(FPGAREG_FIXED_FRAME_RATE,
                                               nCount == 0 ? uint16_t{1} : wLow);
            }
        } else {
            const double dStep =
                m_Capability.Has(FpgaCap::bmFixeFrameRateStep1uS) ? 1.0 : kCoarseStepMicros;
            // The count is the period in steps, kept to the register's 16 bits.
            const auto wCount =
                static_cast<uint16_t>(static_cast<uint32_t>(kMicrosPerSecond / fFps / dStep));
            nRet = m_Fpga.Fpga_WrRelateReg(FPGAREG_FIXED_FRAME_RATE,
                                           wCount == 0 ? uint16_t{1} : wCount);
        }
        if (nRet == RET_SUCCESS) {
            m_fFixedFrameRate = fFps;
        }
        return nRet;
    });
}

int CDevice::GetFixedFrameRate(float* pFps) {
    if (!HasFixedFrameRate(m_Capability)) {
        return RET_NOTSUPPORT;
    }
    const FpgaRelateRegValue& shadows = m_Fpga.Shadows();
    if (shadows.wFixedFrameRate == 0) {
        return RET_FAIL;
    }
    double dFps;
    if (m_Capability.Has(FpgaCap::bmFixFrameRateWide)) {
        dFps = kFrameRateClockHz / ((static_cast<double>(shadows.wFixedFrameRateExt) * 65536.0) +
                                    shadows.wFixedFrameRate);
    } else if (m_Capability.Has(FpgaCap::bmFixeFrameRateStep1uS)) {
        dFps = kMicrosPerSecond / shadows.wFixedFrameRate;
    } else {
        dFps = kMicrosPerSecond / (shadows.wFixedFrameRate * kCoarseStepMicros);
    }
    if (pFps != nullptr) {
        *pFps = static_cast<float>(dFps);
    }
    return RET_SUCCESS;
}

void CDevice::GetFixedFrameRateRange(float* pMin, float* pMax) const {
    const FrameRateLimits limits = LimitsFor(m_Capability);
    if (pMin != nullptr) {
        *pMin = limits.fMin;
    }
    if (pMax != nullptr) {
        *pMax = limits.fMax;
    }
}
