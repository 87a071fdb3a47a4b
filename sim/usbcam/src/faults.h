// Faults a test scripts for one camera: each matches operations of its kind,
// lets `skip` of them pass and hits the next `count` (negative: all).
#pragma once

#include <cstdint>
#include <vector>

namespace usbcam {

struct Fault {
    int kind = 0;    // MLSIM_FAULT_*
    int match = -1;  // bRequest, control code or MLSIM_MATCH_ANY
    uint32_t skip = 0;
    int32_t count = 0;
    uint32_t param = 0;
};

struct FaultHit {
    int kind = 0;
    uint32_t param = 0;
};

class FaultScript {
  public:
    void add(const Fault& fault) { faults_.push_back(fault); }
    void clear() { faults_.clear(); }
    // The fault that hits an operation of one of the kinds [firstKind,
    // lastKind] with key `key`, or kind 0. Every matching fault counts the
    // operation; the first one due hits it.
    FaultHit next(int firstKind, int lastKind, int key);

  private:
    std::vector<Fault> faults_;
};

}  // namespace usbcam
