// Test fixture: the SDK's layers of one camera (transport, vendor requests,
// FPGA registers, frame reads) over the simulated cameras, with a device log
// in the scratch folder and helpers to read the simulator's journal.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "device/BusControl.h"
#include "mlusbimager_control.h"
#include "platform/WideText.h"

inline std::string ScratchPath(const std::string& name) {
    const char* root = std::getenv("VARNU_TEST_SCRATCH");
    return std::string(root != nullptr ? root : "/tmp") + "/" + name;
}

inline MlSimProfile CameraProfile(int nType, int nSerial = 1, uint16_t wFirmware = 0x0100) {
    MlSimProfile profile;
    mlsim_profile_default(nType, &profile);
    profile.serial = nSerial;
    profile.firmware_version = wFirmware;
    return profile;
}

inline std::vector<MlSimJournalEntry> Journal(int nSlot) {
    std::vector<MlSimJournalEntry> entries;
    const uint32_t nCount = mlsim_journal_count(nSlot);
    for (uint32_t i = 0; i < nCount; ++i) {
        MlSimJournalEntry entry{};
        mlsim_journal_get(nSlot, i, &entry);
        entries.push_back(entry);
    }
    return entries;
}

inline std::vector<MlSimJournalEntry> VendorJournal(int nSlot) {
    std::vector<MlSimJournalEntry> entries;
    for (const MlSimJournalEntry& entry : Journal(nSlot)) {
        if (entry.kind == MLSIM_JOURNAL_VENDOR) {
            entries.push_back(entry);
        }
    }
    return entries;
}

// One camera's layers as the device object holds them.
struct CameraLayers {
    explicit CameraLayers(const std::string& logName = "") {
        if (!logName.empty()) {
            logPath = ScratchPath(logName);
            std::remove(logPath.c_str());
            pLog = new CLog(plat::WideFromUtf8(logPath));
        }
    }
    ~CameraLayers() { delete pLog; }

    std::string LogText() const {
        std::ifstream file(logPath, std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }

    CLog* pLog = nullptr;
    std::string logPath;
    DeviceCapability capability;
    CUsbTransport transport{pLog};
    CVendorRequests vendor{transport, capability};
    CFpgaRegisters fpga{vendor, transport, capability};
    CBusControl bus{transport, vendor, fpga, capability};
};

// Every test starts with an empty bus.
class SimTest : public ::testing::Test {
  protected:
    void SetUp() override { mlsim_unplug_all(); }
    void TearDown() override { mlsim_unplug_all(); }

    static void Plug(int nSlot, const MlSimProfile& profile) {
        ASSERT_EQ(mlsim_plug(nSlot, &profile), 1);
    }
};
