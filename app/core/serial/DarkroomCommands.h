// The single command bytes the station sends to the dark-room controller,
// unframed, and the one data value of a lens frame that is not answered.
// The bytes the controller sends back are in serial/DarkroomEnums.h.
#pragma once

namespace DarkroomCommand {
// Switches the instrument's power over: on when it is off, off when on.
constexpr int PowerToggle = 0x02;
// Drive the focus motor inwards or outwards until LensStop.
constexpr int FocusIn = 0x08;
constexpr int FocusOut = 0x09;
constexpr int LensStop = 0x14;
// Asks for the status byte (power on or off).
constexpr int StatusRequest = 0x1D;
// Data value of the lens frame that is sent without waiting for an answer.
constexpr int LensAsyncData = 0x17;
}  // namespace DarkroomCommand
