// Lights, lamps and instrument power of the dark room.
#pragma once

#include <QList>
#include <QObject>

#include "serial/ModbusMaster.h"

class ASyncSerialPortThread;

class LightCtrl : public QObject {
    Q_OBJECT
  public:
    // The one instance of the application, on the application's serial link.
    static LightCtrl* getInstance();
    // An instance on a link of its own (tests).
    explicit LightCtrl(ASyncSerialPortThread* link, QObject* parent = nullptr);

    // Sends the frame cmd + data (length = number of items), without waiting.
    void sendCmd(int& cmd, QList<int> data);
    // Sends the low byte of each item, unframed, without waiting.
    void sendRawCmd(QList<int> data);

  private:
    ASyncSerialPortThread* m_link;
    ModbusMaster m_modbusMaster;
};
