// What is plugged behind the driver numbers: plug, unplug, replug, the
// configuration file and external triggers.
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "config.h"
#include "driver.h"

namespace usbcam {

bool Driver::plug(int slot, std::shared_ptr<Camera> camera) {
    if (slot < 0 || slot >= MLUSB_MAX_DEVICES || !camera) {
        return false;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    if (slots_[slot]) {
        return false;
    }
    slots_[slot] = std::move(camera);
    plugIds_[slot] = nextPlugId_++;
    return true;
}

bool Driver::unplug(int slot) {
    if (slot < 0 || slot >= MLUSB_MAX_DEVICES) {
        return false;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    std::shared_ptr<Camera> camera = std::move(slots_[slot]);
    if (!camera) {
        return false;
    }
    unplugged_[slot] = camera;
    abortLocked(lock, camera.get(), MLUSB_ERROR_DEVICE_NOT_CONNECTED);
    lock.unlock();
    camera->saveMemoryImage();
    return true;
}

bool Driver::replug(int fromSlot, int toSlot) {
    if (fromSlot < 0 || fromSlot >= MLUSB_MAX_DEVICES || toSlot < 0 ||
        toSlot >= MLUSB_MAX_DEVICES) {
        return false;
    }
    std::shared_ptr<Camera> camera;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!unplugged_[fromSlot] || slots_[toSlot]) {
            return false;
        }
        camera = std::move(unplugged_[fromSlot]);
    }
    camera->powerCycle();
    std::lock_guard<std::mutex> lock(mutex_);
    if (slots_[toSlot]) {
        unplugged_[fromSlot] = std::move(camera);  // the slot was taken meanwhile
        return false;
    }
    slots_[toSlot] = std::move(camera);
    plugIds_[toSlot] = nextPlugId_++;
    return true;
}

void Driver::unplugAll() {
    for (int slot = 0; slot < MLUSB_MAX_DEVICES; ++slot) {
        unplug(slot);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto& camera : unplugged_) {
        camera.reset();
    }
}

void Driver::saveMemoryImages() {
    std::vector<std::shared_ptr<Camera>> cameras;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (int slot = 0; slot < MLUSB_MAX_DEVICES; ++slot) {
            for (const std::shared_ptr<Camera>& camera : {slots_[slot], unplugged_[slot]}) {
                if (camera) {
                    cameras.push_back(camera);
                }
            }
        }
    }
    for (const std::shared_ptr<Camera>& camera : cameras) {
        camera->saveMemoryImage();
    }
}

std::shared_ptr<Camera> Driver::camera(int slot) {
    if (slot < 0 || slot >= MLUSB_MAX_DEVICES) {
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    return slots_[slot];
}

void Driver::externalTrigger(int slot) {
    std::shared_ptr<Camera> cam = camera(slot);
    if (!cam) {
        return;
    }
    cam->countExternalTrigger();
    if (cam->planRead().release == ReadPlan::ByExternalTrigger) {
        std::lock_guard<std::mutex> lock(mutex_);
        releaseFrameLocked(cam);
    }
}

void Driver::startSignal(int slot) {
    std::shared_ptr<Camera> cam = camera(slot);
    if (cam && cam->planRead().release == ReadPlan::ByStart) {
        std::lock_guard<std::mutex> lock(mutex_);
        releaseFrameLocked(cam);
    }
}

int Driver::loadConfig(const char* path) {
    std::string file;
    if (path) {
        file = path;
    } else if (const char* env = std::getenv("MLUSBIMAGER_CONFIG")) {
        file = env;
    }
    unplugAll();
    if (file.empty()) {
        return 0;
    }
    std::vector<ConfiguredCamera> cameras;
    std::string problem;
    if (!readCameraConfig(file, &cameras, &problem)) {
        std::fprintf(stderr, "mlusbimager: %s\n", problem.c_str());
        return -1;
    }
    int plugged = 0;
    for (const ConfiguredCamera& entry : cameras) {
        std::unique_ptr<SensorChip> chip = makeSensorChip(entry.profile.device_type);
        auto camera = std::make_shared<Camera>(entry.profile, std::move(chip));
        camera->setBlur(entry.blur);
        camera->setMemoryImageFile(entry.memoryFile);
        if (!entry.worldFile.empty()) {
            camera->setWorldFocus(std::make_shared<WorldFocus>(entry.worldFile, entry.sharpFocus,
                                                               entry.focusPerBlurPixel));
        }
        if (plug(entry.slot, camera)) {
            ++plugged;
        }
    }
    return plugged;
}

}  // namespace usbcam
