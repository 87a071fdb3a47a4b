// One simulated camera: the USB controller's firmware (vendor requests,
// ports, identity, descriptor), the FPGA, the EEPROM and the sensor chip,
// with the camera's journal and scripted faults. The driver owns the
// transport (handles, pending reads); the camera tells it, through the
// outcome of each request, what the request means for the data pipe.
#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "eeprom.h"
#include "faults.h"
#include "fpga.h"
#include "frame_synth.h"
#include "mlusbimager_control.h"
#include "sensor_chip.h"
#include "world_focus.h"

namespace usbcam {

struct SetupPacket {
    uint8_t requestType = 0;
    uint8_t request = 0;
    uint16_t value = 0;
    uint16_t index = 0;
    uint16_t length = 0;
};

struct VendorOutcome {
    enum Kind { Completed, TransferFailed, Pending } kind = Completed;
    uint32_t transferred = 0;  // bytes of the data stage moved
    // What the request means for the data pipe; the driver acts on it.
    bool releaseFrame = false;      // a software trigger
    bool emptyFrameBuffer = false;  // queued frames dropped
    bool abortReads = false;        // the controller restarted
    bool endPendingRead = false;    // packet end: a waiting read ends short
};

// How a read is to be served.
struct ReadPlan {
    // What lets a frame out when one is needed.
    enum Release { Free, ByExternalTrigger, BySoftwareTrigger, ByStart };
    Release release = Free;
    bool needsTrigger = false;
    int timing = MLSIM_TIMING_INSTANT;
    double periodMs = 0;
    double triggerDelayMs = 0;
};

class Camera {
  public:
    Camera(const MlSimProfile& profile, std::unique_ptr<SensorChip> chip);

    const MlSimProfile& profile() const { return profile_; }
    bool bootLoader() const { return profile_.boot_loader != 0; }

    // Registers and pipe back to power-on (a replug); memory is kept.
    void powerCycle();

    void descriptor(uint8_t out[18]) const;
    // One control transfer; `data` holds setup.length bytes.
    VendorOutcome vendorRequest(const SetupPacket& setup, uint8_t* data);
    // A port or pipe reset of the driver (code 0x220004 or 0x220008): frames
    // in flight are lost; the chip and the FPGA keep their registers.
    void portReset();

    FaultHit nextFault(int firstKind, int lastKind, int key);
    void addFault(const Fault& fault);
    void clearFaults();

    // Frame pipe.
    ReadPlan planRead();
    bool takeTriggeredFrame();
    void storeTriggeredFrame();
    // When the next frame is ready in real time.
    std::chrono::steady_clock::time_point nextFrameDue(std::chrono::steady_clock::time_point now,
                                                       double periodMs);
    // Snapshot for the next transfer; reserves its frame numbers.
    FrameSpec beginTransfer();
    void frameInfo(MlSimFrameInfo* out);

    // Test control.
    void setContent(int content);
    void setTiming(int timing);
    void setBlur(int radius);
    void setIlluminant(const double rgb[3]);
    // Takes the blur from the shared world's lens focus from now on.
    void setWorldFocus(std::shared_ptr<WorldFocus> world);
    bool setPortInput(int sfr, uint8_t levels);
    void setSnapButton(bool pressed);
    void setGpioInput(bool level);
    void setTriggerStatus(int bits);
    void countExternalTrigger();
    // The next frame comes count trigger signals later than the one after
    // the last (laser camera).
    void skipSignals(uint32_t count);
    // The dark model of a line-sensor chip; false for another chip.
    bool setLineSensorDark(int base, int slope, bool alwaysBright);
    bool sensorRead(uint16_t address, uint16_t* value);
    bool sensorWrite(uint16_t address, uint16_t value);
    std::vector<uint16_t> sensorRegisters();
    uint16_t fpgaRead(uint16_t reg);
    void fpgaWrite(uint16_t reg, uint16_t value);
    uint32_t eepromSize() const { return eeprom_.size(); }
    void eepromRead(uint32_t address, uint8_t* data, uint32_t length);
    void eepromWrite(uint32_t address, const uint8_t* data, uint32_t length);
    // The memory image file (empty: none): its image is loaded now when it
    // has the memory's size; saveMemoryImage writes the memory back to it
    // (false when that failed, with a line on stderr).
    void setMemoryImageFile(const std::string& path);
    bool saveMemoryImage();
    void lutRead(uint8_t* out);
    void gammaLutRead(uint16_t* out);
    int cpuResetState();
    bool ad9923aRead(uint16_t address, uint32_t* value);

    // Journal; the request paths journal themselves, the driver journals
    // control codes and reads here.
    void journal(MlSimJournalEntry entry, const uint8_t* data, uint32_t length);
    uint32_t journalCount();
    bool journalGet(uint32_t i, MlSimJournalEntry* out);
    void journalClear();

  private:
    struct Ports {
        uint8_t latch[4] = {0xFF, 0xFF, 0xFF, 0xFF};  // A, C, D, E
        uint8_t enable[4] = {0, 0, 0, 0};             // output enables
        uint8_t input[4] = {0xFF, 0xFF, 0xFF, 0xFF};  // pin levels from outside
    };

    VendorOutcome execute(const SetupPacket& setup, uint8_t* data);
    // False for a request that needs a part this camera lacks (block EEPROM
    // transfers without a block EEPROM, LUT loads without an FPGA); the
    // firmware stalls such a request.
    bool hasPartFor(uint8_t request) const;
    void writeWorkingMode(uint16_t value, VendorOutcome& outcome);
    void resetFirmware(VendorOutcome& outcome);
    SensorReadout readoutLocked() const;
    // The pixel clock of the read-out: the chip's own or the camera's.
    double clockMHzLocked(const SensorReadout& readout) const;
    double exposureMsLocked(const SensorReadout& readout) const;
    double framePeriodMsLocked(const SensorReadout& readout, int frames) const;
    int triggerModeLocked() const;
    // Line-scan start/end mode set: frames wait for a start.
    bool startModeLocked() const;
    double fixedPeriodMsLocked() const;
    void writeCaptureMode(uint16_t value, VendorOutcome& outcome);
    int framesPerTransferLocked() const;
    uint64_t microsSincePlug() const;
    static int portIndex(int sfr);
    static int outputEnableIndex(int sfr);
    // The FPGA's colour processing after a write of register reg.
    void fpgaWriteLocked(uint16_t reg, uint16_t value);
    ColourStage settleColourLocked(bool bAutoStep);
    void appendJournalLocked(MlSimJournalEntry entry, const uint8_t* data, uint32_t length);

    mutable std::mutex mutex_;
    MlSimProfile profile_;
    std::unique_ptr<SensorChip> chip_;
    FpgaRegisters fpga_;
    Eeprom eeprom_;
    std::string memoryImageFile_;
    Ports ports_;
    std::map<uint16_t, uint8_t> controllerRegs_;  // external-memory registers
    std::map<uint8_t, uint8_t> sfrs_;             // other special-function registers
    std::map<uint16_t, uint32_t> frontEnd_;
    std::array<uint8_t, 4096> lut_{};
    std::array<uint16_t, 4096> gammaLut_{};
    int cpuReset_ = -1;
    bool streaming_ = false;
    int triggeredFrames_ = 0;
    uint32_t triggers_ = 0;
    uint64_t framesSent_ = 0;
    uint64_t transfersSent_ = 0;
    // Trigger signals counted by the laser camera's watermark, and those the
    // next frame skips.
    uint32_t signals_ = 0;
    uint32_t signalsToSkip_ = 0;
    int blur_ = 0;
    double illuminant_[3] = {1, 1, 1};
    std::shared_ptr<WorldFocus> world_;
    std::chrono::steady_clock::time_point plugTime_;
    std::chrono::steady_clock::time_point lastFrame_;  // when the last transfer began
    FaultScript faults_;
    std::deque<MlSimJournalEntry> journal_;
    SceneCache scene_;
};

}  // namespace usbcam
