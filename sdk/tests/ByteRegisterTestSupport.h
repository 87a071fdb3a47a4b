// Helpers of the byte-register unit tests: one simulated camera in slot 0
// with the SDK's layers, its sensor requests from the journal and its chip's
// quantities read straight from the registers.
#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "SimCamera.h"
#include "capability/CapabilityPresets.h"
#include "sensors/SensorState.h"

constexpr uint8_t kRdSensorX = 0xC2;
constexpr uint8_t kWrSensorX = 0xC3;

// The sensor requests of one kind since the journal was last cleared, as
// (address, value) pairs.
inline std::vector<std::pair<uint16_t, uint16_t>> SensorRequests(uint8_t byRequest) {
    std::vector<std::pair<uint16_t, uint16_t>> requests;
    for (const MlSimJournalEntry& entry : VendorJournal(0)) {
        if (entry.request == byRequest) {
            requests.emplace_back(entry.value, entry.index);
        }
    }
    return requests;
}

// A quantity of the chip from its byte registers, low first.
inline uint32_t Chip(uint16_t wLow, int nBytes, uint32_t nMask) {
    uint32_t nValue = 0;
    for (int i = 0; i < nBytes; ++i) {
        uint16_t wWord = 0;
        EXPECT_EQ(mlsim_sensor_read(0, static_cast<uint16_t>(wLow + i), &wWord), 1);
        nValue |= uint32_t{static_cast<uint8_t>(wWord)} << (8 * i);
    }
    return nValue & nMask;
}

// A camera of a device type plugged and its transport open.
class ByteRegisterUnitTest : public SimTest {
  protected:
    void PlugType(int nType, uint16_t wFirmware = 0x0100) {
        Plug(0, CameraProfile(nType, 1, wFirmware));
        SetModelCapability(layers.capability, nType, CapVersion::FromWord(wFirmware));
        ASSERT_EQ(layers.transport.Open(), RET_SUCCESS);
    }
    template <typename Unit>
    std::unique_ptr<Unit> MakeUnit(int nType) {
        return std::make_unique<Unit>(layers.vendor, layers.capability, layers.pLog, state,
                                      layers.transport.BusLock(), nType);
    }

    CameraLayers layers{"byte-register-unit.log"};
    SensorState state;
};
