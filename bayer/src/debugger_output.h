// Debugger output of the library: the counterpart of a debugger trace on the
// original platform. Text goes to MTZDQ_DebuggerOutput when the process
// defines that function (tests do, to observe the trace); otherwise nowhere.
// The weak reference is resolved by the dynamic loader and adds no symbol to
// the library's exports.
#pragma once

extern "C" void MTZDQ_DebuggerOutput(const char* text) __attribute__((weak, visibility("default")));

namespace mtzdq {

inline void debugger_output(const char* text) {
    if (&MTZDQ_DebuggerOutput != nullptr) {
        MTZDQ_DebuggerOutput(text);
    }
}

}  // namespace mtzdq
