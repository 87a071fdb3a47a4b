#include "BlotLight.h"

#include "serial/LightCtrl.h"

#include <QList>

namespace {
constexpr int kBlotLightCommand = 0xF2;
}  // namespace

void sendBlotLight(LightCtrl* lightCtrl, bool on) {
    int command = kBlotLightCommand;
    lightCtrl->sendCmd(command, on ? QList<int>{0x01, 0x02} : QList<int>{0xC1});
}
