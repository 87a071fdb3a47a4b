// The line-based control language of the simulated controller, used by tests
// and people to inject status bytes, mute replies and read the journal and the
// state. One command a line; every answer ends with a line "ok" or "error ...".
//
//   send <hex> [<hex>...]   put the bytes on the line at once ("send 0e 0f")
//   mute | unmute           stop or resume the controller's own replies
//   state                   "state power=... light=... ..." on one line
//   lens <axis> <position>  put zoom, focus or iris at a position (0 to 1000)
//   journal                 one line an entry: "<ms> <kind> <hex> [<note>]"
//   clear                   empty the journal
//   quit                    end the simulator
//   help                    list the commands
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "darkroom/Controller.h"

namespace darkroom {

struct ControlResult {
    std::vector<std::string> lines;  // the answer, its last line "ok" or "error ..."
    std::vector<uint8_t> send;       // bytes to put on the line
    bool quit = false;
};

ControlResult handleControlLine(Controller& controller, const std::string& line, uint64_t nowMs);

// "state power=1 light=white blot=0 fluorescence=none filter=460 motion=none
//  zoom=500.0 focus=500.0 iris=500.0 shutdown=0 muted=0"
std::string formatState(const ControllerState& state);

}  // namespace darkroom
