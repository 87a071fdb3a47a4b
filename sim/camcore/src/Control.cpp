// The test control of CamCore_control.h over the simulator.
#include <algorithm>
#include <cstring>
#include <string>

#include "CamCore_control.h"
#include "Simulator.h"

using camsim::Simulator;

extern "C" {

void camsim_reset(const char* config) {
    Simulator::instance().resetAll(config != nullptr ? config : "");
}

void camsim_fail(const char* function, int count, int code) {
    if (function != nullptr) {
        Simulator::instance().fail(function, count, code);
    }
}

void camsim_stall_reads(int stalled) {
    Simulator::instance().stallReads(stalled != 0);
}

void camsim_set_blot_light(int on) {
    Simulator::instance().setBlotLightOverride(on);
}

int camsim_journal(char* text, int size) {
    const std::string journal = Simulator::instance().journalText();
    if (text != nullptr && size > 0) {
        const size_t copied = std::min(journal.size(), static_cast<size_t>(size - 1));
        std::memcpy(text, journal.data(), copied);
        text[copied] = '\0';
    }
    return static_cast<int>(journal.size());
}

void camsim_clear_journal(void) {
    Simulator::instance().clearJournal();
}

int camsim_frames_grabbed(void) {
    return Simulator::instance().framesGrabbed();
}

int camsim_frames_decoded(void) {
    return Simulator::instance().framesDecoded();
}

unsigned camsim_last_decoded_frame(void) {
    return Simulator::instance().lastDecodedFrame();
}

int camsim_frame_exposures(float* exposures, int* gains, int capacity) {
    return Simulator::instance().frameExposures(exposures, gains, capacity);
}

}  // extern "C"
