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
// Switch one light source over; the controller answers with its open or
// close status byte, and switching one source on switches the others off.
constexpr int WhiteLightToggle = 0x05;
constexpr int UV1Toggle = 0x04;
constexpr int UV2Toggle = 0x03;
constexpr int UV3Toggle = 0x15;
constexpr int UV4Toggle = 0x16;
// Drive the zoom and iris motors until LensStop.
constexpr int ZoomIn = 0x06;
constexpr int ZoomOut = 0x07;
constexpr int IrisIn = 0x0A;
constexpr int IrisOut = 0x0B;
// Asks for the status byte (power on or off).
constexpr int StatusRequest = 0x1D;
// Data value of the lens frame that is sent without waiting for an answer.
constexpr int LensAsyncData = 0x17;
}  // namespace DarkroomCommand
