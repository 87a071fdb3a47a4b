// The strobe output of the units whose FPGA drives it (register 29): bits
// 8-9 clear switch it on, both set switch it off; bit 14 inverts it. Each
// needs its capability bit (bmFlashEnable, bmFlashInvert), RET_NOTSUPPORT
// without.
#pragma once

#include "capability/DeviceCapability.h"
#include "sensors/SensorHost.h"

int FpgaStrobeEnableSet(ISensorHost& host, const DeviceCapability& capability, bool bOn);
int FpgaStrobeEnableGet(const ISensorHost& host, const DeviceCapability& capability, bool* pbOn);
int FpgaStrobeInvertSet(ISensorHost& host, const DeviceCapability& capability, bool bInvert);
int FpgaStrobeInvertGet(const ISensorHost& host, const DeviceCapability& capability,
                        bool* pbInvert);
