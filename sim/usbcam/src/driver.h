// The driver stand-in: the table of driver numbers with the cameras plugged
// behind them, open handles, operations in flight and the simulator thread
// that completes frame reads.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <list>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <utility>

#include "camera.h"
#include "mlusbimager.h"

// An open handle: the camera it was opened on and which plug-in of that slot,
// so a handle stays dead after its camera is unplugged, even if the same
// camera comes back.
struct MlUsbDevice {
    std::shared_ptr<usbcam::Camera> camera;
    int slot;
    uint64_t plugId;
};

namespace usbcam {

class Driver {
  public:
    // The one driver of the process. Never destroyed: handles may be closed
    // from other objects' destructors at exit.
    static Driver& instance();

    // Interface calls; each returns 1, or 0 with *error set.
    MlUsbHandle open(const char* path, uint32_t* error);
    int close(MlUsbHandle handle, uint32_t* error);
    int ioctl(MlUsbHandle handle, uint32_t code, const void* in, uint32_t inLength, void* out,
              uint32_t outLength, uint32_t* returned, MlUsbOverlapped* overlapped, uint32_t* error);
    int read(MlUsbHandle handle, uint8_t* buffer, uint32_t length, uint32_t code, uint32_t* got,
             MlUsbOverlapped* overlapped, uint32_t* error);
    int overlappedResult(MlUsbHandle handle, MlUsbOverlapped* overlapped, uint32_t* bytes,
                         bool wait, uint32_t* error);
    int cancel(MlUsbHandle handle, uint32_t* error);

    // Test control.
    bool plug(int slot, std::shared_ptr<Camera> camera);
    bool unplug(int slot);
    bool replug(int fromSlot, int toSlot);
    void unplugAll();
    std::shared_ptr<Camera> camera(int slot);
    void externalTrigger(int slot);
    void startSignal(int slot);
    // Plugs the cameras of a configuration file (null: MLUSBIMAGER_CONFIG).
    int loadConfig(const char* path);

    // Stops the simulator thread; later reads complete on the caller's thread.
    void stopWorker();
    // Writes the memory image file of every camera that has one.
    void saveMemoryImages();

  private:
    // An operation issued on the calling thread.
    struct Op {
        Op(MlUsbDevice* handle, std::shared_ptr<Camera> camera, MlUsbOverlapped* overlapped)
            : handle(handle),
              camera(std::move(camera)),
              issuer(std::this_thread::get_id()),
              overlapped(overlapped) {}

        MlUsbDevice* handle;
        std::shared_ptr<Camera> camera;
        std::thread::id issuer;
        MlUsbOverlapped* overlapped;
        bool isRead = false;
        uint8_t* buffer = nullptr;
        uint32_t length = 0;
        enum State { Waiting, Scheduled, Filling, Completing } state = Waiting;
        bool awaitsTrigger = false;  // waiting for a triggered frame (else forever)
        bool endShort = false;       // a packet end came: complete with 0 bytes
        FaultHit fault;
        std::chrono::steady_clock::time_point due;
    };

    Driver();
    bool validLocked(MlUsbHandle handle) const;
    bool connectedLocked(const MlUsbDevice* handle) const;
    // The camera behind an open handle that is still plugged in, or null
    // with *error set.
    std::shared_ptr<Camera> connectedCamera(MlUsbHandle handle, uint32_t* error);
    void fill(Op* op, uint32_t* error, uint32_t* bytes);
    // Fills the operation without the lock, then finishes it; its result
    // goes to error and bytes where they are given.
    void serveLocked(std::unique_lock<std::mutex>& lock, Op* op, uint32_t* error, uint32_t* bytes);
    void finishLocked(std::unique_lock<std::mutex>& lock, Op* op, uint32_t error, uint32_t bytes);
    // Reports a call that succeeded without waiting: the byte count, and
    // the overlapped record completed with its callback.
    void completeAtOnce(MlUsbOverlapped* overlapped, uint32_t bytes, uint32_t* returned);
    void abortLocked(std::unique_lock<std::mutex>& lock, const Camera* camera, uint32_t error);
    void releaseFrameLocked(const std::shared_ptr<Camera>& camera);
    void endPendingReadLocked(const Camera* camera);
    void applyOutcome(const std::shared_ptr<Camera>& camera, const VendorOutcome& outcome);
    int vendorRequest(MlUsbDevice* handle, const std::shared_ptr<Camera>& camera,
                      const uint8_t* record, uint32_t inLength, void* out, uint32_t outLength,
                      uint32_t* returned, MlUsbOverlapped* overlapped, uint32_t* error);
    void waitForOpLocked(std::unique_lock<std::mutex>& lock, Op* op);
    void workerLoop();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::shared_ptr<Camera> slots_[MLUSB_MAX_DEVICES];
    std::shared_ptr<Camera> unplugged_[MLUSB_MAX_DEVICES];
    uint64_t plugIds_[MLUSB_MAX_DEVICES] = {};
    uint64_t nextPlugId_ = 1;
    std::set<MlUsbDevice*> handles_;
    std::list<Op*> ops_;
    std::thread worker_;
    bool stopping_ = false;
    bool workerRunning_ = false;
};

}  // namespace usbcam
