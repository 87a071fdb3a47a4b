// The test-control interface of the simulated cameras.
#include "driver.h"
#include "mlusbimager_control.h"

namespace {

using usbcam::Camera;
using usbcam::Driver;

std::shared_ptr<Camera> cameraAt(int32_t slot) {
    return Driver::instance().camera(slot);
}

// Runs the action on the camera in the slot: 1, or 0 with nothing done when
// the slot is empty or the call's arguments are not accepted.
template <typename Action>
int withCamera(int32_t slot, bool accepted, Action action) {
    std::shared_ptr<Camera> camera = cameraAt(slot);
    if (!camera || !accepted) {
        return 0;
    }
    action(*camera);
    return 1;
}

template <typename Action>
int withCamera(int32_t slot, Action action) {
    return withCamera(slot, true, action);
}

}  // namespace

extern "C" {

int mlsim_plug(int32_t slot, const MlSimProfile* profile) {
    if (!profile) {
        return 0;
    }
    std::unique_ptr<usbcam::SensorChip> chip = usbcam::makeSensorChip(profile->device_type);
    if (!chip && !profile->boot_loader) {
        return 0;
    }
    if (profile->eeprom_kind < 0 || profile->eeprom_kind > 2 || profile->adc_bits < 8 ||
        profile->adc_bits > 16 || !(profile->pixel_clock_mhz > 0)) {
        return 0;
    }
    return Driver::instance().plug(slot, std::make_shared<Camera>(*profile, std::move(chip))) ? 1
                                                                                              : 0;
}

int mlsim_unplug(int32_t slot) {
    return Driver::instance().unplug(slot) ? 1 : 0;
}

int mlsim_replug(int32_t from_slot, int32_t to_slot) {
    return Driver::instance().replug(from_slot, to_slot) ? 1 : 0;
}

int mlsim_is_plugged(int32_t slot) {
    return cameraAt(slot) ? 1 : 0;
}

void mlsim_unplug_all(void) {
    Driver::instance().unplugAll();
}

int mlsim_load_config(const char* path) {
    return Driver::instance().loadConfig(path);
}

int mlsim_set_content(int32_t slot, int32_t content) {
    return withCamera(slot, content >= MLSIM_CONTENT_PATTERN && content <= MLSIM_CONTENT_LASER,
                      [&](Camera& camera) { camera.setContent(content); });
}

int mlsim_set_timing(int32_t slot, int32_t timing) {
    return withCamera(slot, timing >= MLSIM_TIMING_REALTIME && timing <= MLSIM_TIMING_FAST,
                      [&](Camera& camera) { camera.setTiming(timing); });
}

int mlsim_set_blur(int32_t slot, int32_t radius) {
    return withCamera(slot, radius >= 0, [&](Camera& camera) { camera.setBlur(radius); });
}

int mlsim_set_illuminant(int32_t slot, double red, double green, double blue) {
    const bool valid = red >= 0 && green >= 0 && blue >= 0;
    return withCamera(slot, valid, [&](Camera& camera) {
        const double rgb[3] = {red, green, blue};
        camera.setIlluminant(rgb);
    });
}

int mlsim_fault_add(int32_t slot, int32_t kind, int32_t match, uint32_t skip, int32_t count,
                    uint32_t param) {
    return withCamera(slot, kind >= MLSIM_FAULT_TRANSFER && kind <= MLSIM_FAULT_READ_IO_ERROR,
                      [&](Camera& camera) {
                          usbcam::Fault fault;
                          fault.kind = kind;
                          fault.match = match;
                          fault.skip = skip;
                          fault.count = count;
                          fault.param = param;
                          camera.addFault(fault);
                      });
}

int mlsim_fault_clear(int32_t slot) {
    return withCamera(slot, [&](Camera& camera) { camera.clearFaults(); });
}

int mlsim_set_port_input(int32_t slot, int32_t sfr, uint8_t levels) {
    auto camera = cameraAt(slot);
    return camera && camera->setPortInput(sfr, levels) ? 1 : 0;
}

int mlsim_set_snap_button(int32_t slot, int32_t pressed) {
    return withCamera(slot, [&](Camera& camera) { camera.setSnapButton(pressed != 0); });
}

int mlsim_set_gpio_input(int32_t slot, int32_t level) {
    return withCamera(slot, [&](Camera& camera) { camera.setGpioInput(level != 0); });
}

int mlsim_set_trigger_status(int32_t slot, int32_t bits) {
    return withCamera(slot, [&](Camera& camera) { camera.setTriggerStatus(bits); });
}

int mlsim_trigger(int32_t slot) {
    if (!cameraAt(slot)) {
        return 0;
    }
    Driver::instance().externalTrigger(slot);
    return 1;
}

int mlsim_start_signal(int32_t slot) {
    if (!cameraAt(slot)) {
        return 0;
    }
    Driver::instance().startSignal(slot);
    return 1;
}

int mlsim_skip_signals(int32_t slot, uint32_t count) {
    return withCamera(slot, true, [&](Camera& camera) { camera.skipSignals(count); });
}

int mlsim_line_sensor_set_dark(int32_t slot, int32_t base, int32_t slope, int32_t always_bright) {
    auto camera = cameraAt(slot);
    return camera && camera->setLineSensorDark(base, slope, always_bright != 0) ? 1 : 0;
}

int mlsim_sensor_read(int32_t slot, uint16_t address, uint16_t* value) {
    auto camera = cameraAt(slot);
    return camera && value && camera->sensorRead(address, value) ? 1 : 0;
}

int mlsim_sensor_write(int32_t slot, uint16_t address, uint16_t value) {
    auto camera = cameraAt(slot);
    return camera && camera->sensorWrite(address, value) ? 1 : 0;
}

uint32_t mlsim_sensor_registers(int32_t slot, uint16_t* addresses, uint32_t capacity) {
    auto camera = cameraAt(slot);
    if (!camera) {
        return 0;
    }
    std::vector<uint16_t> all = camera->sensorRegisters();
    for (uint32_t i = 0; addresses && i < capacity && i < all.size(); ++i) {
        addresses[i] = all[i];
    }
    return static_cast<uint32_t>(all.size());
}

int mlsim_fpga_read(int32_t slot, uint16_t reg, uint16_t* value) {
    return withCamera(slot, value != nullptr,
                      [&](Camera& camera) { *value = camera.fpgaRead(reg); });
}

int mlsim_fpga_write(int32_t slot, uint16_t reg, uint16_t value) {
    return withCamera(slot, [&](Camera& camera) { camera.fpgaWrite(reg, value); });
}

uint32_t mlsim_eeprom_size(int32_t slot) {
    auto camera = cameraAt(slot);
    return camera ? camera->eepromSize() : 0;
}

int mlsim_eeprom_read(int32_t slot, uint32_t address, uint8_t* data, uint32_t length) {
    return withCamera(slot, data || length == 0,
                      [&](Camera& camera) { camera.eepromRead(address, data, length); });
}

int mlsim_eeprom_write(int32_t slot, uint32_t address, const uint8_t* data, uint32_t length) {
    return withCamera(slot, data || length == 0,
                      [&](Camera& camera) { camera.eepromWrite(address, data, length); });
}

int mlsim_lut_read(int32_t slot, uint8_t* lut4096) {
    return withCamera(slot, lut4096 != nullptr, [&](Camera& camera) { camera.lutRead(lut4096); });
}

int mlsim_gamma_lut_read(int32_t slot, uint16_t* lut4096) {
    return withCamera(slot, lut4096 != nullptr,
                      [&](Camera& camera) { camera.gammaLutRead(lut4096); });
}

int mlsim_cpu_reset_state(int32_t slot) {
    auto camera = cameraAt(slot);
    return camera ? camera->cpuResetState() : -1;
}

int mlsim_ad9923a_read(int32_t slot, uint16_t address, uint32_t* value) {
    auto camera = cameraAt(slot);
    return camera && value && camera->ad9923aRead(address, value) ? 1 : 0;
}

int mlsim_frame_info(int32_t slot, MlSimFrameInfo* out) {
    return withCamera(slot, out != nullptr, [&](Camera& camera) { camera.frameInfo(out); });
}

uint32_t mlsim_journal_count(int32_t slot) {
    auto camera = cameraAt(slot);
    return camera ? camera->journalCount() : 0;
}

int mlsim_journal_get(int32_t slot, uint32_t i, MlSimJournalEntry* out) {
    auto camera = cameraAt(slot);
    return camera && out && camera->journalGet(i, out) ? 1 : 0;
}

int mlsim_journal_clear(int32_t slot) {
    return withCamera(slot, [&](Camera& camera) { camera.journalClear(); });
}
}
