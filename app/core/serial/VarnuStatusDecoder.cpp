#include "serial/VarnuStatusDecoder.h"

QVector<VarnuDataBit> VarnuStatusDecoder::decode(const QByteArray& data) {
    QVector<VarnuDataBit> bits;
    if (data.isEmpty()) {
        bits.append(static_cast<VarnuDataBit>(0));
        return bits;
    }
    bits.reserve(data.size());
    for (char byte : data) {
        bits.append(static_cast<VarnuDataBit>(static_cast<unsigned char>(byte)));
    }
    return bits;
}

const char* VarnuStatusDecoder::logText(VarnuDataBit dataBit) {
    switch (dataBit) {
        case PowerOpen:
            return "PowerOpen.";
        case PowerClose:
            return "PowerClose.";
        case WhiteLightOpen:
            return "WhiteLightOpen.";
        case WhiteLightClose:
            return "WhiteLightClose.";
        case UV1Open:
            return "UV1Open.";
        case UV1Close:
            return "UV1Close.";
        case UV2Open:
            return "UV2Open.";
        case UV2Close:
            return "UV2Close.";
        case UV3Open:
            return "UV3Open.";
        case UV3Close:
            return "UV3Close.";
        case UV4Open:
            return "UV4Open.";
        case UV4Close:
            return "UV4Close.";
        case ResetFinish:
            return "ResetFinish.";
        case ResetStart:
            return "ResetStart.";
    }
    return "Unknow VarnuDataBit.";
}

bool VarnuStatusDecoder::isStatus(VarnuDataBit dataBit) {
    switch (dataBit) {
        case PowerOpen:
        case PowerClose:
        case WhiteLightOpen:
        case WhiteLightClose:
        case UV1Open:
        case UV1Close:
        case UV2Open:
        case UV2Close:
        case UV3Open:
        case UV3Close:
        case UV4Open:
        case UV4Close:
        case ResetFinish:
        case ResetStart:
            return true;
    }
    return false;
}
