#include "serial/ModbusMaster.h"

namespace {

constexpr char kHeader0 = char(0x68);
constexpr char kHeader1 = char(0xA0);

QByteArray frameHead(int cmd) {
    QByteArray frame;
    frame.append(kHeader0);
    frame.append(kHeader1);
    frame.append(static_cast<char>(cmd & 0xFF));
    return frame;
}

void appendCheck(QByteArray& frame) {
    char check = 0;
    for (char byte : frame) {
        check ^= byte;
    }
    frame.append(check);
}

}  // namespace

ModbusMaster::ModbusMaster(QObject* parent) : QObject(parent) {}

QByteArray ModbusMaster::makeFrame(int& cmd, quint8 len, int& data) const {
    QByteArray frame = frameHead(cmd);
    frame.append(static_cast<char>(len));
    if (len != 0) {
        frame.append(static_cast<char>(data & 0xFF));
    }
    appendCheck(frame);
    return frame;
}

QByteArray ModbusMaster::makeFrameList(int& cmd, quint8 len, QList<int> data) const {
    QByteArray frame = frameHead(cmd);
    frame.append(static_cast<char>(len));
    if (len != 0) {
        for (int item : data) {
            frame.append(static_cast<char>(item & 0xFF));
        }
    }
    appendCheck(frame);
    return frame;
}
