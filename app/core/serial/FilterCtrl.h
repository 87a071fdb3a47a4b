// The filter wheel of the dark room.
#pragma once

#include <QObject>

#include "serial/ModbusMaster.h"

class ASyncSerialPortThread;

class FilterCtrl : public QObject {
    Q_OBJECT
  public:
    // On the application's serial link.
    explicit FilterCtrl(QObject* parent = nullptr);
    explicit FilterCtrl(ASyncSerialPortThread* link, QObject* parent = nullptr);

    // Sends the frame cmd with its one data byte, without waiting.
    void sendCmd(int& cmd, int& data);

  private:
    ASyncSerialPortThread* m_link;
    ModbusMaster m_modbusMaster;
};
