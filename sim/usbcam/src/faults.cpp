#include "faults.h"

namespace usbcam {

FaultHit FaultScript::next(int firstKind, int lastKind, int key) {
    FaultHit hit;
    for (Fault& fault : faults_) {
        if (fault.kind < firstKind || fault.kind > lastKind || fault.count == 0) {
            continue;
        }
        if (fault.match != -1 && fault.match != key) {
            continue;
        }
        if (fault.skip > 0) {
            --fault.skip;
            continue;
        }
        if (hit.kind == 0) {
            hit.kind = fault.kind;
            hit.param = fault.param;
            if (fault.count > 0) {
                --fault.count;
            }
        }
    }
    return hit;
}

}  // namespace usbcam
