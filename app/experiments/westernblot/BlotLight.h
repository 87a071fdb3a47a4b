// The blot light of the dark room, switched by the western-blot capture
// panels.
#pragma once

class LightCtrl;

// Sends the blot-light command: on (data 0x01, 0x02) or off (data 0xC1).
void sendBlotLight(LightCtrl* lightCtrl, bool on);
