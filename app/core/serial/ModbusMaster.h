// Builds the dark-room controller's framed commands:
//   0x68 0xA0 command length data... check
// where length is the number of data bytes (0x00 for a frame without data) and
// check is the XOR of every byte before it. Only the low 8 bits of each
// command and data value go on the wire.
#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>

class ModbusMaster : public QObject {
    Q_OBJECT
  public:
    explicit ModbusMaster(QObject* parent = nullptr);

    // A frame with at most one data byte: length 0 gives 68 A0 cmd 00 check,
    // any other length gives 68 A0 cmd len data check.
    QByteArray makeFrame(int& cmd, quint8 len, int& data) const;
    // 68 A0 cmd len item... check with the items in list order, or
    // 68 A0 cmd 00 check when the length is 0. Callers pass the item count.
    QByteArray makeFrameList(int& cmd, quint8 len, QList<int> data) const;
};
