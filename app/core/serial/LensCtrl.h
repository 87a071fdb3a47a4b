// The motorised lens of the dark room (focus, zoom, iris).
#pragma once

#include <QList>
#include <QObject>

#include "serial/ModbusMaster.h"

class ASyncSerialPortThread;

class LensCtrl : public QObject {
    Q_OBJECT
  public:
    // On the application's serial link.
    explicit LensCtrl(QObject* parent = nullptr);
    explicit LensCtrl(ASyncSerialPortThread* link, QObject* parent = nullptr);

    // Sends the frame cmd with its one data byte. With the data value
    // DarkroomCommand::LensAsyncData it
    // returns at once; with any other value it waits for the controller's
    // answer (at most about one second) and discards it.
    void sendCmd(int& cmd, int& data);
    // Sends the low byte of each item, unframed, without waiting.
    void sendRawCmd(QList<int> data);

  private:
    ASyncSerialPortThread* m_link;
    ModbusMaster m_modbusMaster;
};
