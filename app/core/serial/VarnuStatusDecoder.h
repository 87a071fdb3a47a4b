// Turns one delivery of bytes from the dark-room controller into its status
// bytes. Every byte of a delivery is a status of its own, taken in the order it
// arrived, so two changes that reach the port within one read are both seen.
#pragma once

#include <QByteArray>
#include <QVector>

#include "serial/DarkroomEnums.h"

class VarnuStatusDecoder {
  public:
    // The status bytes of `data`, in order, as unsigned values 0 to 255. An
    // empty delivery gives the single value 0.
    static QVector<VarnuDataBit> decode(const QByteArray& data);
    // The log text of a status: "PowerOpen.", "WhiteLightOpen.", ...;
    // "Unknow VarnuDataBit." for a byte that is no status.
    static const char* logText(VarnuDataBit dataBit);
    // Whether the byte is one of the controller's statuses.
    static bool isStatus(VarnuDataBit dataBit);
};
