// The test-control interface of the simulated cameras.
#include "driver.h"
#include "mlusbimager_control.h"

namespace {

using usbcam::Camera;
using usbcam::Driver;

std::shared_ptr<Camera> cameraAt(int32_t slot) {
    return Driver::instance().camera(slot);
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
    auto camera = cameraAt(slot);
    if (!camera || (content != MLSIM_CONTENT_PATTERN && content != MLSIM_CONTENT_SCENE)) {
        return 0;
    }
    camera->setContent(content);
    return 1;
}

int mlsim_set_timing(int32_t slot, int32_t timing) {
    auto camera = cameraAt(slot);
    if (!camera || timing < MLSIM_TIMING_REALTIME || timing > MLSIM_TIMING_FAST) {
        return 0;
    }
    camera->setTiming(timing);
    return 1;
}

int mlsim_set_blur(int32_t slot, int32_t radius) {
    auto camera = cameraAt(slot);
    if (!camera || radius < 0) {
        return 0;
    }
    camera->setBlur(radius);
    return 1;
}

int mlsim_fault_add(int32_t slot, int32_t kind, int32_t match, uint32_t skip, int32_t count,
                    uint32_t param) {
    auto camera = cameraAt(slot);
    if (!camera || kind < MLSIM_FAULT_TRANSFER || kind > MLSIM_FAULT_READ_IO_ERROR) {
        return 0;
    }
    usbcam::Fault fault;
    fault.kind = kind;
    fault.match = match;
    fault.skip = skip;
    fault.count = count;
    fault.param = param;
    camera->addFault(fault);
    return 1;
}

int mlsim_fault_clear(int32_t slot) {
    auto camera = cameraAt(slot);
    if (!camera) {
        return 0;
    }
    camera->clearFaults();
    return 1;
}

int mlsim_set_port_input(int32_t slot, int32_t sfr, uint8_t levels) {
    auto camera = cameraAt(slot);
    return camera && camera->setPortInput(sfr, levels) ? 1 : 0;
}

int mlsim_set_snap_button(int32_t slot, int32_t pressed) {
    auto camera = cameraAt(slot);
    if (!camera) {
        return 0;
    }
    camera->setSnapButton(pressed != 0);
    return 1;
}

int mlsim_set_gpio_input(int32_t slot, int32_t level) {
    auto camera = cameraAt(slot);
    if (!camera) {
        return 0;
    }
    camera->setGpioInput(level != 0);
    return 1;
}

int mlsim_set_trigger_status(int32_t slot, int32_t bits) {
    auto camera = cameraAt(slot);
    if (!camera) {
        return 0;
    }
    camera->setTriggerStatus(bits);
    return 1;
}

int mlsim_trigger(int32_t slot) {
    if (!cameraAt(slot)) {
        return 0;
    }
    Driver::instance().externalTrigger(slot);
    return 1;
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
    auto camera = cameraAt(slot);
    if (!camera || !value) {
        return 0;
    }
    *value = camera->fpgaRead(reg);
    return 1;
}

int mlsim_fpga_write(int32_t slot, uint16_t reg, uint16_t value) {
    auto camera = cameraAt(slot);
    if (!camera) {
        return 0;
    }
    camera->fpgaWrite(reg, value);
    return 1;
}

uint32_t mlsim_eeprom_size(int32_t slot) {
    auto camera = cameraAt(slot);
    return camera ? camera->eepromSize() : 0;
}

int mlsim_eeprom_read(int32_t slot, uint32_t address, uint8_t* data, uint32_t length) {
    auto camera = cameraAt(slot);
    if (!camera || (!data && length > 0)) {
        return 0;
    }
    camera->eepromRead(address, data, length);
    return 1;
}

int mlsim_eeprom_write(int32_t slot, uint32_t address, const uint8_t* data, uint32_t length) {
    auto camera = cameraAt(slot);
    if (!camera || (!data && length > 0)) {
        return 0;
    }
    camera->eepromWrite(address, data, length);
    return 1;
}

int mlsim_lut_read(int32_t slot, uint8_t* lut4096) {
    auto camera = cameraAt(slot);
    if (!camera || !lut4096) {
        return 0;
    }
    camera->lutRead(lut4096);
    return 1;
}

int mlsim_gamma_lut_read(int32_t slot, uint16_t* lut4096) {
    auto camera = cameraAt(slot);
    if (!camera || !lut4096) {
        return 0;
    }
    camera->gammaLutRead(lut4096);
    return 1;
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
    auto camera = cameraAt(slot);
    if (!camera || !out) {
        return 0;
    }
    camera->frameInfo(out);
    return 1;
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
    auto camera = cameraAt(slot);
    if (!camera) {
        return 0;
    }
    camera->journalClear();
    return 1;
}
}
