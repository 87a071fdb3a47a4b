// Model of an image-sensor chip as the camera firmware sees it: a register
// file reached over the chip's control bus, and the read-out those registers
// describe (window, skip, binning, orientation, exposure, gain).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <memory>
#include <vector>

#include "fpga.h"

namespace usbcam {

// What the chip reads out, decoded from its registers.
struct SensorReadout {
    int arrayWidth = 0;  // whole pixel array
    int arrayHeight = 0;
    int colStart = 0;  // window on the array, in array pixels
    int rowStart = 0;
    int width = 0;
    int height = 0;
    int colSkip = 1;  // output = window / skip
    int rowSkip = 1;
    int colBin = 1;
    int rowBin = 1;
    bool flip = false;              // rows read bottom to top
    bool mirror = false;            // columns read right to left
    double lineClocks = 1;          // pixel clocks per row
    double exposureClocks = 1;      // integration time in pixel clocks
    int blankRows = 0;              // vertical blanking in rows
    double gain[4] = {1, 1, 1, 1};  // red, green 1, green 2, blue
    // A chip that makes its own pixel clock: its rate (0: the camera's).
    double pixelClockMHz = 0;

    int outputWidth() const { return colSkip > 0 ? width / colSkip : 0; }
    int outputHeight() const { return rowSkip > 0 ? height / rowSkip : 0; }
};

class SensorChip {
  public:
    virtual ~SensorChip() = default;
    virtual int adcBits() const = 0;
    // Back to the power-on register values.
    virtual void powerOn() = 0;
    // False when the chip has no such register.
    virtual bool readRegister(uint16_t address, uint16_t* value) const = 0;
    virtual bool writeRegister(uint16_t address, uint16_t value) = 0;
    virtual SensorReadout readout() const = 0;
    virtual std::vector<uint16_t> registerAddresses() const = 0;
    // The camera's FPGA crops the chip's output to the window of its
    // registers 1, 2, 43 and 44 (models whose FPGA carries the window).
    virtual bool fpgaCropsOutput() const { return false; }
    // What the camera's FPGA changes in the read-out on models whose FPGA
    // carries the sensor's timing (line length, frame, exposure).
    virtual void applyFpgaTiming(SensorReadout& out, const FpgaRegisters& fpga) const {
        (void)out;
        (void)fpga;
    }
    // What the analogue front end of a CCD camera (its registers as the
    // AD9923A requests wrote them) changes in the read-out.
    virtual void applyFrontEnd(SensorReadout& out,
                               const std::map<uint16_t, uint32_t>& frontEnd) const {
        (void)out;
        (void)frontEnd;
    }
    // FPGA registers the model sets at power-on (a camera whose FPGA
    // reports the frame size).
    virtual void seedFpga(FpgaRegisters& fpga) const { (void)fpga; }
    // One frame was read out: the chip's own engines (automatic exposure or
    // gain) take their step.
    virtual void onFrame() {}
    // Whether the chip's own engines are fitted (they are by default); takes
    // effect at the next power-on.
    virtual void fitEngine(bool fitted) { (void)fitted; }
    // Chips that see no scene (the line sensors in the dark) give the ADC
    // level of every column of a line; null for the others.
    virtual std::shared_ptr<const std::vector<uint16_t>> columnLevels() const { return nullptr; }
};

// Base for chips that are a plain bank of 16-bit registers with power-on
// values; a chip adds its decoding and any write side effects.
class RegisterBankChip : public SensorChip {
  public:
    void powerOn() override { regs_ = powerOnValues(); }
    bool readRegister(uint16_t address, uint16_t* value) const override;
    bool writeRegister(uint16_t address, uint16_t value) override;
    std::vector<uint16_t> registerAddresses() const override;

  protected:
    virtual std::map<uint16_t, uint16_t> powerOnValues() const = 0;
    // Called after a register took a new value.
    virtual void afterWrite(uint16_t address, uint16_t value) {
        (void)address;
        (void)value;
    }
    uint16_t reg(uint16_t address) const;
    void setReg(uint16_t address, uint16_t value) { regs_[address] = value; }

  private:
    std::map<uint16_t, uint16_t> regs_;
};

// Chip models register themselves for the device types they serve; a new
// sensor is one source file with one registrar.
using SensorChipFactory = std::unique_ptr<SensorChip> (*)();
class SensorChipRegistrar {
  public:
    SensorChipRegistrar(std::initializer_list<int> deviceTypes, SensorChipFactory factory);
};

// A chip at power-on for the device type, or null when none is simulated.
std::unique_ptr<SensorChip> makeSensorChip(int deviceType);

}  // namespace usbcam
