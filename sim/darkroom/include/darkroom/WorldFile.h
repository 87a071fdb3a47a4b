// The dark room as other simulators see it (the shared world): the lens
// positions with their motion, the lights, the blot light and the filter, in
// a small text file that is replaced atomically (written beside it, then
// renamed), so a reader never sees half of it. One "key=value" a line:
//
//   epoch_ms=1765360000000     wall-clock time (ms since 1970) the positions hold at
//   power=1  light=white  blot=0  fluorescence=none  filter=460
//   motion=focus-in
//   zoom=500.0   zoom_rate=0.0     rates in units a second of wall-clock time
//   focus=212.5  focus_rate=150.0  (signed), positions between 0 and 1000
//   iris=500.0   iris_rate=0.0
//
// A reader extrapolates a moving axis: position + rate x (now - epoch_ms) /
// 1000, clamped to 0 .. 1000. The file is rewritten whenever something other
// than the travel of a moving axis changes.
#pragma once

#include <cstdint>
#include <string>

#include "darkroom/Controller.h"

namespace darkroom {

std::string formatWorld(const Controller& controller, uint64_t nowMs, int64_t epochMs);
// What decides a rewrite: everything but the travel of moving axes.
std::string worldSignature(const Controller& controller, uint64_t nowMs);
// False when the file could not be written (it then keeps its old content).
bool writeWorldFile(const std::string& path, const std::string& text);

}  // namespace darkroom
