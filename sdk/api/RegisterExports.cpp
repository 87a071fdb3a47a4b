// Exports of register access, vendor requests and camera memory.
#include "ZDQApi.h"
#include "api/ExportFrame.h"

namespace {

// Registers 0 .. 255 are addressed by one byte.
bool IsFpgaRegisterNumber(int nRegister) {
    return nRegister >= 0 && nRegister <= 0xFF;
}

}  // namespace

int ZDQ_VendorCmd(int nIndex, const SetupPacket* pPacket, unsigned char* pData) {
    return WithDevice(nIndex, [&](CDevice& device) {
        if (pPacket == nullptr || (pData == nullptr && pPacket->wLength != 0)) {
            return RET_PARAMERROR;
        }
        return device.Transport().VendorCmd(*pPacket, pData);
    });
}

int ZDQ_VendorCmdEx(int nIndex, unsigned char byRequest, unsigned short wValue,
                    unsigned short wIndex, unsigned short wLength, unsigned char* pData) {
    return LoggedSlotCall(L"ZDQ_VendorCmdEx", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmdEx(byRequest, wValue, wIndex, wLength, pData);
    });
}

int ZDQ_WrSensorReg(int nIndex, unsigned short wAddress, unsigned short wValue) {
    return LoggedDeviceCall(L"ZDQ_WrSensorReg", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_WrSensor(wAddress, wValue);
    });
}

int ZDQ_RdSensorReg(int nIndex, unsigned short wAddress, unsigned short* pValue) {
    return LoggedDeviceCall(L"ZDQ_RdSensorReg", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_RdSensor(wAddress, pValue);
    });
}

int ZDQ_WrSensorRegX(int nIndex, unsigned short wAddress, unsigned short wValue) {
    return LoggedDeviceCall(L"ZDQ_WrSensorRegX", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_WrSensorX(wAddress, wValue);
    });
}

int ZDQ_RdSensorRegX(int nIndex, unsigned short wAddress, unsigned short* pValue) {
    return LoggedDeviceCall(L"ZDQ_RdSensorRegX", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_RdSensorX(wAddress, pValue);
    });
}

int ZDQ_FrameRestart(int nIndex) {
    return LoggedDeviceCall(L"ZDQ_FrameRestart", nIndex, [&](CDevice& device) {
        if (!device.Capability().Has(SensorCap::bmFrameRestart)) {
            return RET_NOTSUPPORT;
        }
        return device.Vendor().VendorCmd_WrSensor(11, 1);
    });
}

int ZDQ_WrFpgaReg(int nIndex, int nRegister, unsigned short wValue) {
    return LoggedDeviceCall(L"ZDQ_WrFpgaReg", nIndex, [&](CDevice& device) {
        if (!IsFpgaRegisterNumber(nRegister)) {
            return RET_PARAMERROR;
        }
        return device.Fpga().Fpga_WrReg(nRegister, wValue);
    });
}

int ZDQ_RdFpgaReg(int nIndex, int nRegister, unsigned short* pValue) {
    return LoggedDeviceCall(L"ZDQ_RdFpgaReg", nIndex, [&](CDevice& device) {
        if (!IsFpgaRegisterNumber(nRegister)) {
            return RET_PARAMERROR;
        }
        return device.Fpga().Fpga_RdReg(nRegister, pValue);
    });
}

int ZDQ_WrFpgaRegEx(int nIndex, int nRegister, unsigned short wValue) {
    return LoggedDeviceCall(L"ZDQ_WrFpgaRegEx", nIndex, [&](CDevice& device) {
        if (!IsFpgaRegisterNumber(nRegister)) {
            return RET_PARAMERROR;
        }
        if (!device.Transport().IsOpen()) {
            LogPrint(device.Log(), LOGLEVEL_NORMAL,
                     L"ZDQAPI::--Fpga_WrReg Error! ( Device Closed! )");
            return RET_DEVICECLOSED;
        }
        return device.Vendor().VendorCmd_WrFpga(static_cast<uint8_t>(nRegister), wValue);
    });
}

int ZDQ_RdFpgaRegEx(int nIndex, int nRegister, unsigned short* pValue) {
    return LoggedDeviceCall(L"ZDQ_RdFpgaRegEx", nIndex, [&](CDevice& device) {
        if (pValue == nullptr || !IsFpgaRegisterNumber(nRegister)) {
            return RET_PARAMERROR;
        }
        if (!device.Transport().IsOpen()) {
            LogPrint(device.Log(), LOGLEVEL_NORMAL,
                     L"ZDQAPI::--Fpga_RdReg Error! ( Device Closed! )");
            return RET_DEVICECLOSED;
        }
        return device.Vendor().VendorCmd_RdFpga(FpgaReadAddress(nRegister), pValue);
    });
}

int ZDQ_ResetFpga(int nIndex, int bFlag) {
    return LoggedDeviceCall(L"ZDQ_ResetFpga", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_ResetFpga(bFlag);
    });
}

int ZDQ_WrFx2Reg(int nIndex, unsigned short wAddress, unsigned char byValue) {
    return LoggedDeviceCall(L"ZDQ_WrFx2Reg", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_WrFx2Reg(wAddress, byValue);
    });
}

int ZDQ_RdFx2Reg(int nIndex, unsigned short wAddress, unsigned char* pValue) {
    return LoggedDeviceCall(L"ZDQ_RdFx2Reg", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_RdFx2Reg(wAddress, pValue);
    });
}

int ZDQ_WrFx2Sfr(int nIndex, unsigned char bySfr, unsigned char byValue) {
    return LoggedDeviceCall(L"ZDQ_WrFx2Sfr", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_WrFx2Sfr(bySfr, byValue);
    });
}

int ZDQ_RdFx2Sfr(int nIndex, unsigned char bySfr, unsigned char* pValue) {
    return LoggedDeviceCall(L"ZDQ_RdFx2Sfr", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_RdFx2Sfr(bySfr, pValue);
    });
}

int ZDQ_ResetFx2(int nIndex, int bFlag) {
    return LoggedDeviceCall(L"ZDQ_ResetFx2", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_ResetFx2(bFlag == 1);
    });
}

int ZDQ_WrAD9923A(int nIndex, unsigned short wAddress, unsigned int nValue) {
    return LoggedDeviceCall(L"ZDQ_WrAD9923A", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_WrAD9923AReg(wAddress, nValue);
    });
}

int ZDQ_GammaOn(int nIndex, int) {
    return LoggedDeviceCall(L"ZDQ_GammaOn", nIndex, [](CDevice&) { return RET_NOTSUPPORT; });
}

int ZDQ_RdTMP101(int nIndex, unsigned char, unsigned short*) {
    return LoggedDeviceCall(L"ZDQ_RdTMP101", nIndex, [](CDevice&) { return RET_NOTSUPPORT; });
}

int ZDQ_WrTMP101(int nIndex, unsigned char, unsigned short) {
    return LoggedDeviceCall(L"ZDQ_WrTMP101", nIndex, [](CDevice&) { return RET_NOTSUPPORT; });
}

int ZDQ_ResetDevice(int nIndex) {
    return LoggedDeviceCall(L"ZDQ_ResetDevice", nIndex, [](CDevice& device) {
        return device.Vendor().VendorCmd_ResetDevice();
    });
}

int ZDQ_ReconnectDevice(int nIndex) {
    return LoggedDeviceCall(L"ZDQ_ReconnectDevice", nIndex, [](CDevice& device) {
        return device.Vendor().VendorCmd_ReconnectDevice();
    });
}

int ZDQ_SendPktEnd(int nIndex) {
    return LoggedDeviceCall(L"ZDQ_SendPktEnd", nIndex,
                            [](CDevice& device) { return device.Vendor().VendorCmd_SendPktEnd(); });
}

int ZDQ_EEPROMTypeGet(int nIndex, int* pType) {
    return LoggedDeviceCall(L"ZDQ_EEPROMTypeGet", nIndex, [&](CDevice& device) {
        if (pType == nullptr) {
            return RET_PARAMERROR;
        }
        *pType = static_cast<int>(device.Capability().Get(HardwareCap::bmE2PRomType));
        return RET_SUCCESS;
    });
}

int ZDQ_WrEEPROM(int nIndex, unsigned short wAddress, unsigned char byValue) {
    return LoggedDeviceCall(L"ZDQ_WrEEPROM", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_WrEEPROM(wAddress, byValue);
    });
}

int ZDQ_RdEEPROM(int nIndex, unsigned short wAddress, unsigned char* pValue) {
    return LoggedDeviceCall(L"ZDQ_RdEEPROM", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_RdEEPROM(wAddress, pValue);
    });
}

int ZDQ_WrEEPROMEx(int nIndex, unsigned int nAddress, unsigned char byValue) {
    return LoggedDeviceCall(L"ZDQ_WrEEPROMEx", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_WrEEPROMEx(nAddress, byValue);
    });
}

int ZDQ_RdEEPROMEx(int nIndex, unsigned int nAddress, unsigned char* pValue) {
    return LoggedDeviceCall(L"ZDQ_RdEEPROMEx", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_RdEEPROMEx(nAddress, pValue);
    });
}

int ZDQ_WrEEPROMExEx(int nIndex, unsigned int nAddress, const unsigned char* pBuffer,
                     unsigned int nLength) {
    return LoggedDeviceCall(L"ZDQ_WrEEPROMExEx", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_WrEEPROMExEx(nAddress, pBuffer, nLength);
    });
}

int ZDQ_RdEEPROMExEx(int nIndex, unsigned int nAddress, unsigned int nLength,
                     unsigned char* pBuffer) {
    return LoggedDeviceCall(L"ZDQ_RdEEPROMExEx", nIndex, [&](CDevice& device) {
        return device.Vendor().VendorCmd_RdEEPROMExEx(nAddress, nLength, pBuffer);
    });
}
