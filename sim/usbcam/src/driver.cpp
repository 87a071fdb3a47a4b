// The transport: opening paths, control codes, the vendor-request record,
// frame reads with their completion, cancel and close.
#include "driver.h"

#include <algorithm>
#include <cstring>

namespace usbcam {

namespace {

constexpr uint64_t kPending = 1;
constexpr uint64_t kComplete = 2;
constexpr char kPathPrefix[] = "\\\\.\\mlusbimager-";

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24;
}

// Stops the simulator thread when the process ends and writes the cameras'
// memory image files; the driver itself stays.
struct WorkerStopper {
    ~WorkerStopper() {
        Driver::instance().stopWorker();
        Driver::instance().saveMemoryImages();
    }
};

}  // namespace

Driver& Driver::instance() {
    static Driver* driver = new Driver();
    static WorkerStopper stopper;
    return *driver;
}

Driver::Driver() {
    loadConfig(nullptr);
    workerRunning_ = true;
    worker_ = std::thread([this] { workerLoop(); });
}

void Driver::stopWorker() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!workerRunning_) {
            return;
        }
        stopping_ = true;
        changed_.notify_all();
    }
    worker_.join();
    std::lock_guard<std::mutex> lock(mutex_);
    workerRunning_ = false;
}

bool Driver::validLocked(MlUsbHandle handle) const {
    return handle && handles_.count(handle) != 0;
}

bool Driver::connectedLocked(const MlUsbDevice* handle) const {
    return slots_[handle->slot] == handle->camera && plugIds_[handle->slot] == handle->plugId;
}

std::shared_ptr<Camera> Driver::connectedCamera(MlUsbHandle handle, uint32_t* error) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!validLocked(handle)) {
        *error = MLUSB_ERROR_INVALID_HANDLE;
        return nullptr;
    }
    if (!connectedLocked(handle)) {
        *error = MLUSB_ERROR_DEVICE_NOT_CONNECTED;
        return nullptr;
    }
    return handle->camera;
}

MlUsbHandle Driver::open(const char* path, uint32_t* error) {
    const size_t prefix = sizeof(kPathPrefix) - 1;
    if (!path || std::strncmp(path, kPathPrefix, prefix) != 0 || path[prefix] < 48 ||
        path[prefix] >= 48 + MLUSB_MAX_DEVICES || path[prefix + 1] != '\0') {
        *error = MLUSB_ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    std::lock_guard<std::mutex> lock(mutex_);
    const int slot = path[prefix] - 48;
    if (!slots_[slot]) {
        *error = MLUSB_ERROR_FILE_NOT_FOUND;
        return nullptr;
    }
    auto* handle = new MlUsbDevice{slots_[slot], slot, plugIds_[slot]};
    handles_.insert(handle);
    return handle;
}

int Driver::close(MlUsbHandle handle, uint32_t* error) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!validLocked(handle)) {
        *error = MLUSB_ERROR_INVALID_HANDLE;
        return 0;
    }
    // From here on the handle is invalid for every other call, a second
    // close included; its operations end before it is freed.
    handles_.erase(handle);
    for (;;) {
        auto it = std::find_if(ops_.begin(), ops_.end(), [&](Op* op) {
            return op->handle == handle && (op->state == Op::Waiting || op->state == Op::Scheduled);
        });
        if (it != ops_.end()) {
            finishLocked(lock, *it, MLUSB_ERROR_OPERATION_ABORTED, 0);
            continue;
        }
        bool busy =
            std::any_of(ops_.begin(), ops_.end(), [&](Op* op) { return op->handle == handle; });
        if (!busy) {
            break;
        }
        changed_.wait(lock);
    }
    delete handle;
    return 1;
}

int Driver::cancel(MlUsbHandle handle, uint32_t* error) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!validLocked(handle)) {
        *error = MLUSB_ERROR_INVALID_HANDLE;
        return 0;
    }
    const std::thread::id self = std::this_thread::get_id();
    for (;;) {
        auto mine = [&](Op* op) { return op->handle == handle && op->issuer == self; };
        auto it = std::find_if(ops_.begin(), ops_.end(), [&](Op* op) {
            return mine(op) && (op->state == Op::Waiting || op->state == Op::Scheduled);
        });
        if (it != ops_.end()) {
            finishLocked(lock, *it, MLUSB_ERROR_OPERATION_ABORTED, 0);
            continue;
        }
        if (!std::any_of(ops_.begin(), ops_.end(), mine)) {
            break;
        }
        changed_.wait(lock);  // one is being filled or its callback runs
    }
    return 1;
}

void Driver::completeAtOnce(MlUsbOverlapped* overlapped, uint32_t bytes, uint32_t* returned) {
    if (returned) {
        *returned = bytes;
    }
    if (!overlapped) {
        return;
    }
    MlUsbCompletion callback = overlapped->on_complete;
    void* context = overlapped->context;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        overlapped->driver_reserved[1] = MLUSB_ERROR_SUCCESS;
        overlapped->driver_reserved[2] = bytes;
        overlapped->driver_reserved[0] = kComplete;
        changed_.notify_all();
    }
    if (callback) {
        callback(context);
    }
}

// Sets the result, calls the completion callback without the lock, then
// forgets the operation. The caller's record is not touched after the
// callback: the caller may reuse it as soon as it sees the result.
void Driver::finishLocked(std::unique_lock<std::mutex>& lock, Op* op, uint32_t error,
                          uint32_t bytes) {
    op->state = Op::Completing;
    MlUsbOverlapped* overlapped = op->overlapped;
    overlapped->driver_reserved[1] = error;
    overlapped->driver_reserved[2] = bytes;
    overlapped->driver_reserved[0] = kComplete;
    MlUsbCompletion callback = overlapped->on_complete;
    void* context = overlapped->context;
    changed_.notify_all();
    if (callback) {
        lock.unlock();
        callback(context);
        lock.lock();
    }
    ops_.remove(op);
    delete op;
    changed_.notify_all();
}

void Driver::abortLocked(std::unique_lock<std::mutex>& lock, const Camera* camera, uint32_t error) {
    for (;;) {
        auto it = std::find_if(ops_.begin(), ops_.end(), [&](Op* op) {
            return op->camera.get() == camera &&
                   (op->state == Op::Waiting || op->state == Op::Scheduled);
        });
        if (it == ops_.end()) {
            return;
        }
        finishLocked(lock, *it, error, 0);
    }
}

void Driver::releaseFrameLocked(const std::shared_ptr<Camera>& camera) {
    auto it = std::find_if(ops_.begin(), ops_.end(), [&](Op* op) {
        return op->camera == camera && op->state == Op::Waiting && op->awaitsTrigger;
    });
    if (it == ops_.end()) {
        camera->storeTriggeredFrame();
        return;
    }
    Op* op = *it;
    ReadPlan plan = camera->planRead();
    auto now = std::chrono::steady_clock::now();
    // A triggered frame is exposed and read out the trigger delay after its
    // trigger.
    op->due = now;
    if (plan.timing == MLSIM_TIMING_REALTIME) {
        op->due += std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double, std::milli>(plan.triggerDelayMs + plan.periodMs));
    }
    op->state = Op::Scheduled;
    changed_.notify_all();
}

void Driver::endPendingReadLocked(const Camera* camera) {
    auto it = std::find_if(ops_.begin(), ops_.end(), [&](Op* op) {
        return op->camera.get() == camera && op->isRead &&
               (op->state == Op::Waiting || op->state == Op::Scheduled);
    });
    if (it == ops_.end()) {
        return;
    }
    (*it)->endShort = true;
    (*it)->due = std::chrono::steady_clock::now();
    (*it)->state = Op::Scheduled;
    changed_.notify_all();
}

void Driver::applyOutcome(const std::shared_ptr<Camera>& camera, const VendorOutcome& outcome) {
    if (!outcome.releaseFrame && !outcome.abortReads && !outcome.endPendingRead) {
        return;
    }
    std::unique_lock<std::mutex> lock(mutex_);
    if (outcome.abortReads) {
        abortLocked(lock, camera.get(), MLUSB_ERROR_OPERATION_ABORTED);
    }
    if (outcome.endPendingRead) {
        endPendingReadLocked(camera.get());
    }
    if (outcome.releaseFrame) {
        releaseFrameLocked(camera);
    }
}

int Driver::ioctl(MlUsbHandle handle, uint32_t code, const void* in, uint32_t inLength, void* out,
                  uint32_t outLength, uint32_t* returned, MlUsbOverlapped* overlapped,
                  uint32_t* error) {
    std::shared_ptr<Camera> camera = connectedCamera(handle, error);
    if (!camera) {
        return 0;
    }
    if (code == MLUSB_IOCTL_VENDOR_REQUEST) {
        return vendorRequest(handle, camera, static_cast<const uint8_t*>(in), inLength, out,
                             outLength, returned, overlapped, error);
    }
    if (code == MLUSB_IOCTL_STREAM_READ) {
        return read(handle, static_cast<uint8_t*>(out), outLength, code, returned, overlapped,
                    error);
    }
    MlSimJournalEntry entry{};
    entry.kind = MLSIM_JOURNAL_CONTROL;
    entry.code = code;
    FaultHit fault =
        camera->nextFault(MLSIM_FAULT_CONTROL, MLSIM_FAULT_CONTROL, static_cast<int>(code));
    entry.faulted = fault.kind != 0 ? 1 : 0;
    camera->journal(entry, nullptr, 0);
    if (fault.kind != 0) {
        *error = MLUSB_ERROR_GEN_FAILURE;
        return 0;
    }
    uint32_t bytes = 0;
    switch (code) {
        case MLUSB_IOCTL_RESET_DEVICE:
        case MLUSB_IOCTL_RESET_PIPE: {
            camera->portReset();
            std::unique_lock<std::mutex> lock(mutex_);
            abortLocked(lock, camera.get(), MLUSB_ERROR_OPERATION_ABORTED);
            break;
        }
        case MLUSB_IOCTL_CLEAR_FEATURE:
            break;
        case MLUSB_IOCTL_GET_DESCRIPTOR:
            if (!out || outLength < 18) {
                *error = MLUSB_ERROR_INVALID_PARAMETER;
                return 0;
            }
            camera->descriptor(static_cast<uint8_t*>(out));
            bytes = 18;
            break;
        case MLUSB_IOCTL_GET_DRIVER_VERSION: {
            if (!out || outLength < 4) {
                *error = MLUSB_ERROR_INVALID_PARAMETER;
                return 0;
            }
            uint32_t version = camera->profile().driver_version;
            uint8_t* p = static_cast<uint8_t*>(out);
            for (int i = 0; i < 4; ++i) {
                p[i] = static_cast<uint8_t>(version >> (8 * i));
            }
            bytes = 4;
            break;
        }
        default:
            *error = MLUSB_ERROR_INVALID_PARAMETER;
            return 0;
    }
    completeAtOnce(overlapped, bytes, returned);
    return 1;
}

int Driver::vendorRequest(MlUsbDevice* handle, const std::shared_ptr<Camera>& camera,
                          const uint8_t* record, uint32_t inLength, void* out, uint32_t outLength,
                          uint32_t* returned, MlUsbOverlapped* overlapped, uint32_t* error) {
    // The 31-byte record: u32 wValue, u32 wLength, u32 wIndex, bRequest,
    // bmRequestType, direction, u64 data address, 8 spare bytes.
    if (!record || inLength != MLUSB_VENDOR_REQUEST_SIZE) {
        *error = MLUSB_ERROR_INVALID_PARAMETER;
        return 0;
    }
    uint32_t value = le32(record);
    uint32_t length = le32(record + 4);
    uint32_t index = le32(record + 8);
    SetupPacket setup;
    setup.request = record[12];
    setup.requestType = record[13];
    uint8_t direction = record[14];
    uint64_t address = 0;
    std::memcpy(&address, record + 15, sizeof(address));
    if (direction != (setup.requestType & 0x80) || value > 0xFFFF || length > 0xFFFF ||
        index > 0xFFFF) {
        *error = MLUSB_ERROR_INVALID_PARAMETER;
        return 0;
    }
    setup.value = static_cast<uint16_t>(value);
    setup.index = static_cast<uint16_t>(index);
    setup.length = static_cast<uint16_t>(length);
    uint8_t* data = nullptr;
    if (out) {
        if (outLength != length) {
            *error = MLUSB_ERROR_INVALID_PARAMETER;
            return 0;
        }
        data = static_cast<uint8_t*>(out);
    } else if (length > 0) {
        data = reinterpret_cast<uint8_t*>(static_cast<uintptr_t>(address));
        if (!data) {
            *error = MLUSB_ERROR_INVALID_PARAMETER;
            return 0;
        }
    }
    VendorOutcome outcome = camera->vendorRequest(setup, data);
    if (outcome.kind == VendorOutcome::TransferFailed) {
        *error = MLUSB_ERROR_GEN_FAILURE;
        return 0;
    }
    if (outcome.kind == VendorOutcome::Pending) {
        // Left pending: the data stage is never touched; cancel or close
        // completes it with 995, an unplug with 1167.
        *error = MLUSB_ERROR_IO_PENDING;
        if (overlapped) {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!validLocked(handle)) {
                *error = MLUSB_ERROR_INVALID_HANDLE;  // closed by another thread meanwhile
                return 0;
            }
            auto* op = new Op(handle, camera, overlapped);
            overlapped->driver_reserved[0] = kPending;
            ops_.push_back(op);
        }
        return 0;
    }
    applyOutcome(camera, outcome);
    uint32_t bytes = out ? outcome.transferred : 0;
    completeAtOnce(overlapped, bytes, returned);
    return 1;
}

int Driver::read(MlUsbHandle handle, uint8_t* buffer, uint32_t length, uint32_t code, uint32_t* got,
                 MlUsbOverlapped* overlapped, uint32_t* error) {
    std::shared_ptr<Camera> camera = connectedCamera(handle, error);
    if (!camera) {
        return 0;
    }
    if (!buffer && length > 0) {
        *error = MLUSB_ERROR_INVALID_PARAMETER;
        return 0;
    }
    FaultHit fault = camera->nextFault(MLSIM_FAULT_READ_TIMEOUT, MLSIM_FAULT_READ_IO_ERROR,
                                       static_cast<int>(code));
    MlSimJournalEntry entry{};
    entry.kind = MLSIM_JOURNAL_READ;
    entry.code = code;
    entry.read_length = length;
    entry.faulted = fault.kind != 0 ? 1 : 0;
    camera->journal(entry, nullptr, 0);
    if (camera->bootLoader() || fault.kind == MLSIM_FAULT_READ_IO_ERROR) {
        *error = MLUSB_ERROR_GEN_FAILURE;
        return 0;
    }
    ReadPlan plan = camera->planRead();
    if (plan.timing == MLSIM_TIMING_FAST && fault.kind == MLSIM_FAULT_READ_ABORTED) {
        *error = MLUSB_ERROR_OPERATION_ABORTED;
        return 0;
    }

    MlUsbOverlapped own{};
    MlUsbOverlapped* record = overlapped ? overlapped : &own;
    auto* op = new Op(handle, camera, record);
    op->isRead = true;
    op->buffer = buffer;
    op->length = length;
    op->fault = fault;

    std::unique_lock<std::mutex> lock(mutex_);
    if (!validLocked(handle)) {
        delete op;
        *error = MLUSB_ERROR_INVALID_HANDLE;  // closed by another thread meanwhile
        return 0;
    }
    record->driver_reserved[0] = kPending;
    ops_.push_back(op);
    bool atOnce = plan.timing == MLSIM_TIMING_FAST || stopping_;
    if (fault.kind == MLSIM_FAULT_READ_TIMEOUT) {
        op->state = Op::Waiting;  // never completes by itself
    } else if (plan.needsTrigger && !camera->takeTriggeredFrame()) {
        op->state = Op::Waiting;
        op->awaitsTrigger = true;
    } else if (atOnce) {
        uint32_t err = 0;
        uint32_t bytes = 0;
        serveLocked(lock, op, &err, &bytes);
        if (err != MLUSB_ERROR_SUCCESS) {
            *error = err;
            return 0;
        }
        if (got) {
            *got = bytes;
        }
        return 1;
    } else {
        auto now = std::chrono::steady_clock::now();
        op->due =
            plan.timing == MLSIM_TIMING_REALTIME ? camera->nextFrameDue(now, plan.periodMs) : now;
        op->state = Op::Scheduled;
        changed_.notify_all();
    }
    if (overlapped) {
        *error = MLUSB_ERROR_IO_PENDING;
        return 0;
    }
    // Synchronous read: wait for the frame (a trigger, or a close from
    // another thread, may be what ends it).
    changed_.wait(lock, [&] { return own.driver_reserved[0] == kComplete; });
    waitForOpLocked(lock, op);
    if (own.driver_reserved[1] != MLUSB_ERROR_SUCCESS) {
        *error = static_cast<uint32_t>(own.driver_reserved[1]);
        return 0;
    }
    if (got) {
        *got = static_cast<uint32_t>(own.driver_reserved[2]);
    }
    return 1;
}

void Driver::waitForOpLocked(std::unique_lock<std::mutex>& lock, Op* op) {
    changed_.wait(lock, [&] { return std::find(ops_.begin(), ops_.end(), op) == ops_.end(); });
}

void Driver::fill(Op* op, uint32_t* error, uint32_t* bytes) {
    *error = MLUSB_ERROR_SUCCESS;
    *bytes = 0;
    if (op->endShort || op->fault.kind == MLSIM_FAULT_READ_ZERO) {
        return;
    }
    if (op->fault.kind == MLSIM_FAULT_READ_ABORTED) {
        *error = MLUSB_ERROR_OPERATION_ABORTED;
        return;
    }
    FrameSpec layout = op->camera->beginTransfer();
    uint32_t capacity = op->length;
    if (op->fault.kind == MLSIM_FAULT_READ_SHORT) {
        uint32_t fewer = op->fault.param == 0 ? 1 : op->fault.param;
        uint32_t frame = layout.transferBytes();
        capacity = std::min(capacity, frame > fewer ? frame - fewer : 0);
    }
    *bytes = synthesizeTransfer(layout, op->buffer, capacity);
}

void Driver::serveLocked(std::unique_lock<std::mutex>& lock, Op* op, uint32_t* error,
                         uint32_t* bytes) {
    op->state = Op::Filling;
    lock.unlock();
    uint32_t err = 0;
    uint32_t got = 0;
    fill(op, &err, &got);
    lock.lock();
    finishLocked(lock, op, err, got);
    if (error) {
        *error = err;
    }
    if (bytes) {
        *bytes = got;
    }
}

int Driver::overlappedResult(MlUsbHandle handle, MlUsbOverlapped* overlapped, uint32_t* bytes,
                             bool wait, uint32_t* error) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!validLocked(handle)) {
        *error = MLUSB_ERROR_INVALID_HANDLE;
        return 0;
    }
    if (!overlapped || overlapped->driver_reserved[0] == 0) {
        *error = MLUSB_ERROR_INVALID_PARAMETER;
        return 0;
    }
    if (overlapped->driver_reserved[0] == kPending) {
        if (!wait) {
            *error = MLUSB_ERROR_IO_INCOMPLETE;
            return 0;
        }
        changed_.wait(lock, [&] { return overlapped->driver_reserved[0] == kComplete; });
    }
    // The result is set before the completion runs; the operation is
    // forgotten only after it returned. Waiting for that keeps a caller that
    // frees the record or the completion's context on seeing the result
    // from racing the completion.
    changed_.wait(lock, [&] {
        return std::none_of(ops_.begin(), ops_.end(),
                            [&](const Op* op) { return op->overlapped == overlapped; });
    });
    uint32_t result = static_cast<uint32_t>(overlapped->driver_reserved[1]);
    if (bytes) {
        *bytes = static_cast<uint32_t>(overlapped->driver_reserved[2]);
    }
    if (result != MLUSB_ERROR_SUCCESS) {
        *error = result;
        return 0;
    }
    return 1;
}

void Driver::workerLoop() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (!stopping_) {
        Op* next = nullptr;
        for (Op* op : ops_) {
            if (op->state == Op::Scheduled && (!next || op->due < next->due)) {
                next = op;
            }
        }
        if (!next) {
            changed_.wait(lock);
            continue;
        }
        const auto due = next->due;  // the operation may end while this waits
        if (due > std::chrono::steady_clock::now()) {
            changed_.wait_until(lock, due);
            continue;
        }
        serveLocked(lock, next, nullptr, nullptr);
    }
    // Reads still scheduled are served on the threads that wait for them.
    for (Op* op : ops_) {
        if (op->state == Op::Scheduled) {
            op->due = std::chrono::steady_clock::now();
        }
    }
    while (true) {
        auto it = std::find_if(ops_.begin(), ops_.end(),
                               [](Op* op) { return op->state == Op::Scheduled; });
        if (it == ops_.end()) {
            break;
        }
        serveLocked(lock, *it, nullptr, nullptr);
    }
}

}  // namespace usbcam
